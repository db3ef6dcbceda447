#include "panels/FrequencyScale.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

namespace {

constexpr double PickTolerance = 5;
// More ticks than any ruler draws: a degenerate range must not loop for ever.
constexpr int MaximumTicks = 1000;
// Far outside any picture, yet an int.
constexpr double FarPixel = 1e6;

// The frequency with its prefix and six significant digits, without the zeros that pad them:
// compact enough for a label every few dozen pixels, exact enough for ten minor ticks.
std::string tickLabel(double frequency) {
    std::string text = formatFrequency6(frequency);
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return text;
    std::size_t digitsEnd = point + 1;
    while (digitsEnd < text.size() && std::isdigit(static_cast<unsigned char>(text[digitsEnd])))
        ++digitsEnd;
    std::size_t keep = digitsEnd;
    while (keep > point + 1 && text[keep - 1] == '0')
        --keep;
    if (keep == point + 1) keep = point;
    return text.erase(keep, digitsEnd - keep);
}

}  // namespace

FrequencyScale::FrequencyScale(double minFrequency, double maxFrequency, bool decadeFirstStep)
    : min_(minFrequency),
      max_(maxFrequency),
      decadeFirstStep_(decadeFirstStep),
      linearStep_(roundHalfEven((maxFrequency - minFrequency) / 10)),
      viewLow_(minFrequency),
      viewHigh_(maxFrequency),
      marks_{minFrequency, maxFrequency},
      savedLinear_{minFrequency, maxFrequency, {minFrequency, maxFrequency}},
      savedLogarithmic_{minFrequency, maxFrequency, {minFrequency, maxFrequency}} {
    setView(minFrequency, maxFrequency);
}

void FrequencyScale::setImageWidth(int width) {
    scaleWidth_ = std::max(1, width - 2 * Margin);
}

void FrequencyScale::setView(double low, double high) {
    viewLow_ = low;
    viewHigh_ = high;
    viewSpan_ = linear() ? high - low : std::log10(high / low);
}

// ---- mapping ----

double FrequencyScale::pixelOf(double frequency) const {
    const double s = scaleWidth_;
    if (viewSpan_ <= 0) return Margin;
    if (linear()) return (frequency - viewLow_) / viewSpan_ * s + Margin;
    if (frequency <= 0) return -FarPixel;
    return (1 - std::log10(viewHigh_ / frequency) / viewSpan_) * s + Margin;
}

int FrequencyScale::roundedPixelOf(double frequency) const {
    const double x = pixelOf(frequency);
    if (!(x > -FarPixel)) return static_cast<int>(-FarPixel);
    return static_cast<int>(roundHalfEven(std::min(x, FarPixel)));
}

double FrequencyScale::frequencyAt(double x) const {
    const double offset = (x - Margin) * viewSpan_ / scaleWidth_;
    return linear() ? offset + viewLow_ : std::pow(10.0, offset) * viewLow_;
}

// ---- divisions ----

std::vector<double> FrequencyScale::majorTicks() const {
    std::vector<double> ticks;
    if (linear()) {
        for (int i = 0; linearStep_ > 0 && i < MaximumTicks; ++i) {
            const double tick = min_ + i * linearStep_;
            if (tick >= max_) break;
            ticks.push_back(tick);
        }
    } else {
        double tick = min_;
        for (int i = 0; tick > 0 && tick < max_ && i < MaximumTicks; ++i) {
            ticks.push_back(tick);
            tick = decadeFirstStep_ && i == 0 ? std::pow(10.0, std::trunc(std::log10(tick)) + 1)
                                              : tick * 10;
        }
    }
    if (ticks.empty() || ticks.back() < max_) ticks.push_back(max_);
    return ticks;
}

int FrequencyScale::minorTickCount() const {
    // A view zoomed to two ticks spans a whole number of intervals, give or take rounding.
    constexpr double Slack = 1e-9;
    if (!linear()) return std::trunc(viewSpan_ + Slack) <= 4 ? 5 : 1;
    if (linearStep_ <= 0) return 1;
    const double k = std::trunc((viewHigh_ - viewLow_) / linearStep_ + Slack);
    if (k == 1) return 10;
    if (k == 2 || k == 3) return 5;
    if (k == 4 || k == 5) return 2;
    return 1;
}

std::vector<FrequencyScale::Tick> FrequencyScale::visibleTicks() const {
    const std::vector<double> majors = majorTicks();
    const int n = minorTickCount();
    std::vector<Tick> ticks;
    const auto add = [&](double frequency, bool major, std::string label) {
        if (insideScale(roundedPixelOf(frequency)))
            ticks.push_back({frequency, major, std::move(label)});
    };
    for (double major : majors)
        add(major, true, tickLabel(major));
    // Minor ticks only between two major ones: the first step of a decade scale is shorter
    // than a decade, and the range ends inside the last one.
    for (std::size_t i = 0; n > 1 && i + 1 < majors.size(); ++i) {
        for (int j = 2; j <= n; ++j) {
            const double tick =
                linear() ? majors[i] + (j - 1) * linearStep_ / n : 10 * majors[i] * (j - 1) / n;
            if (tick >= majors[i + 1]) break;
            add(tick, false, linear() ? tickLabel(tick) : std::to_string(2 * (j - 1)));
        }
    }
    return ticks;
}

// ---- operator's actions ----

bool FrequencyScale::pickMark(int x) {
    const double other = marks_[nextMark_ == 1 ? 1 : 0];
    for (const Tick& tick : visibleTicks()) {
        if (std::abs(roundedPixelOf(tick.frequency) - x) > PickTolerance) continue;
        if (tick.frequency == other) continue;
        marks_[nextMark_ == 1 ? 0 : 1] = tick.frequency;
        nextMark_ = nextMark_ == 1 ? 2 : 1;
        return true;
    }
    return false;
}

void FrequencyScale::zoomIn() {
    if (mode_ == Mode::Window) return;
    const double low = std::min(marks_[0], marks_[1]);
    const double high = std::max(marks_[0], marks_[1]);
    if (high > low) setView(low, high);
}

void FrequencyScale::zoomOut() {
    if (mode_ == Mode::Window) return;
    const std::vector<double> ticks = majorTicks();
    const bool aIsLower = marks_[0] <= marks_[1];
    const double low = std::min(marks_[0], marks_[1]);
    const double high = std::max(marks_[0], marks_[1]);
    double newLow = ticks.front();
    for (double tick : ticks)
        if (tick < low) newLow = tick;
    double newHigh = ticks.back();
    for (auto tick = ticks.rbegin(); tick != ticks.rend(); ++tick)
        if (*tick > high) newHigh = *tick;
    marks_[aIsLower ? 0 : 1] = newLow;
    marks_[aIsLower ? 1 : 0] = newHigh;
    zoomIn();
}

void FrequencyScale::switchKind(bool toLinear) {
    if (toLinear == linear()) return;
    SavedView& left = linear() ? savedLinear_ : savedLogarithmic_;
    left = {viewLow_, viewHigh_, marks_};
    const SavedView& entered = toLinear ? savedLinear_ : savedLogarithmic_;
    mode_ = toLinear ? Mode::Linear : Mode::Logarithmic;
    marks_ = entered.marks;
    setView(entered.low, entered.high);
}

void FrequencyScale::showLinear() {
    switchKind(true);
    mode_ = Mode::Linear;
}

void FrequencyScale::showLogarithmic() {
    switchKind(false);
}

void FrequencyScale::panTo(double anchor, int x) {
    const double shift = (x - Margin) * viewSpan_ / scaleWidth_;
    if (linear()) {
        double low = std::max(anchor - shift, min_);
        double high = low + viewSpan_;
        if (high > max_) {
            high = max_;
            low = std::max(high - viewSpan_, min_);
        }
        setView(low, high);
    } else {
        const double factor = std::pow(10.0, viewSpan_);
        double low = std::max(anchor / std::pow(10.0, shift), min_);
        double high = low * factor;
        if (high > max_) {
            high = max_;
            low = std::max(high / factor, min_);
        }
        setView(low, high);
    }
}

std::pair<double, double> FrequencyScale::symmetricWindow(int x, double centre) const {
    const double f = std::clamp(frequencyAt(x), min_, max_);
    const double mirror = std::clamp(2 * centre - f, min_, max_);
    return {std::min(f, mirror), std::max(f, mirror)};
}

bool FrequencyScale::fixWindow(int x, double centre) {
    if (!linear()) return false;
    const auto [low, high] = symmetricWindow(x, centre);
    if (!(high > low)) return false;
    mode_ = Mode::Window;
    setView(low, high);
    return true;
}

// ---- channel-B multiplier ----

MultiplierLimit limitMultiplier(double maxFrequency, double programFrequency, std::int32_t ratio,
                                std::int32_t sampleStep, double oscillatorPer16384) {
    ratio = std::clamp(ratio, 1, 8192);
    if (programFrequency > maxFrequency / ratio && programFrequency > 0)
        ratio = static_cast<std::int32_t>(
            std::clamp(std::trunc(maxFrequency / programFrequency), 1.0, 8192.0));
    const std::int32_t step = std::max(sampleStep, 1);
    if (static_cast<std::int64_t>(ratio) * step > 8192) ratio = std::max(8192 / step, 1);
    double limit = maxFrequency / ratio;
    const int n = static_cast<int>(std::trunc(std::log2(static_cast<double>(8192 / ratio))));
    const double octaveTop = std::ldexp(1.0, n) * oscillatorPer16384 - 0.1;
    if (octaveTop < limit) limit = octaveTop;
    return {ratio, limit};
}

bool isPowerOfTwo(std::int32_t value) {
    return value > 0 && (value & (value - 1)) == 0;
}

int fineBarPosition(double exactPixel, int markerPixel) {
    const double position = roundHalfEven((exactPixel - markerPixel) * 100 + 100);
    if (!(position >= 1)) return 1;
    return static_cast<int>(std::min(position, 200.0));
}
