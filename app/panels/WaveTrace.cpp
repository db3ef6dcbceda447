#include "panels/WaveTrace.h"

#include <algorithm>

#include "core/Rounding.h"

namespace {

struct Extremes {
    int low = 255;
    int high = 0;
    double mean = 0;
};

std::uint8_t roundedSample(double value) {
    return static_cast<std::uint8_t>(std::clamp(roundHalfEven(value), 0.0, 255.0));
}

int wrapped(long long index, long long count) {
    long long result = index % count;
    if (result < 0) result += count;
    return static_cast<int>(result);
}

}  // namespace

std::vector<std::uint8_t> realView(std::span<const std::uint8_t> source, int step) {
    std::vector<std::uint8_t> shown(source.begin(), source.end());
    if (step < 2 || source.empty()) return shown;
    const std::size_t count = source.size();
    long long sum = 0;
    int largest = 0;
    int smallest = 255;
    for (std::uint8_t sample : source) {
        sum += sample;
        largest = std::max<int>(largest, sample);
        smallest = std::min<int>(smallest, sample);
    }
    const double mean = static_cast<double>(sum) / static_cast<double>(count);
    const auto k = static_cast<std::size_t>(step);

    std::vector<std::uint8_t> played;
    for (std::size_t start = 0; start < count; start += k) {
        long long groupSum = 0;
        int high = 0;
        int low = 255;
        for (std::size_t j = 0; j < k; ++j) {
            const std::uint8_t sample = source[(start + j) % count];
            groupSum += sample;
            high = std::max<int>(high, sample);
            low = std::min<int>(low, sample);
        }
        const double a = static_cast<double>(groupSum) / static_cast<double>(k);
        double value;
        if (a <= mean) {
            value = a - smallest == 0 ? low : a - (a - low) * (mean - low) / (mean - smallest);
        } else {
            value = largest - a == 0 ? high : (high - a) * (high - mean) / (largest - mean) + a;
        }
        played.push_back(roundedSample(value));
    }
    for (std::size_t j = 0; j < count; ++j)
        shown[j] = played[j % played.size()];
    return shown;
}

bool isDense(std::span<const std::uint8_t> points, int xSpan, int lastX) {
    if (lastX <= 0) return false;
    const long long reach = 2LL * (xSpan / lastX);
    int previousDirection = 0;
    std::size_t previousChange = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const int change = points[i] - points[i - 1];
        if (change > -2 && change < 2) continue;
        const int direction = change > 0 ? 1 : -1;
        if (previousDirection != 0 && direction != previousDirection &&
            static_cast<long long>(i - previousChange) <= reach)
            return true;
        previousDirection = direction;
        previousChange = i;
    }
    return false;
}

std::vector<TraceColumn> traceColumns(std::span<const std::uint8_t> points, const WaveView& view,
                                      int phase, TraceStyle style) {
    std::vector<TraceColumn> columns;
    if (points.empty()) return columns;
    const auto count = static_cast<long long>(points.size());
    columns.reserve(static_cast<std::size_t>(view.lastX) + 1);
    int previousFirst = 0;
    for (int x = 0; x <= view.lastX; ++x) {
        const int first = view.xToIndex(x);
        const int last = std::max(view.xToIndex(x + 1) - 1, first);
        Extremes extremes;
        long long sum = 0;
        for (int i = first; i <= last; ++i) {
            const int sample = points[static_cast<std::size_t>(wrapped(i + phase, count))];
            extremes.low = std::min(extremes.low, sample);
            extremes.high = std::max(extremes.high, sample);
            sum += sample;
        }
        extremes.mean = static_cast<double>(sum) / (last - first + 1);

        TraceColumn column;
        column.pointStarts = x == 0 || first != previousFirst;
        previousFirst = first;
        if (style == TraceStyle::Envelope) {
            column.top = view.valueToY(extremes.high);
            column.bottom = view.valueToY(extremes.low);
            if (!columns.empty()) {
                const TraceColumn& before = columns.back();
                if (column.top > before.bottom) column.top = before.bottom;
                if (column.bottom < before.top) column.bottom = before.top;
            }
        } else {
            const int y = view.valueToY(static_cast<int>(roundHalfEven(extremes.mean)));
            column.top = column.bottom = y;
            // The run reaches towards the previous column's row without drawing it again, so
            // that each pixel is inverted once.
            if (!columns.empty()) {
                const int before = columns.back().pointRow;
                if (before < y) column.top = before + 1;
                if (before > y) column.bottom = before - 1;
            }
            column.pointRow = y;
        }
        columns.push_back(column);
    }
    return columns;
}
