#include "digital/DigitalDisplayGeometry.h"

#include <algorithm>
#include <cstdlib>

#include "core/UnitFormat.h"
#include "digital/HexText.h"

using namespace digitaldisplay;

namespace {

std::uint16_t valueAt(const TDigitalWave& wave, int signal, std::int32_t step) {
    return getSignalValue(wave.signals[static_cast<std::size_t>(signal)], wave.word(step));
}

// Integer division rounding towards minus infinity.
std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
    const std::int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

int DigitalDisplayGeometry::visibleSteps() const {
    if (pixelsPerStep <= 0) return 0;
    return std::max(0, (plotRight() - kPlotLeft) / pixelsPerStep);
}

int DigitalDisplayGeometry::stepX(std::int32_t step) const {
    return (step - firstStep) * pixelsPerStep + kPlotLeft;
}

std::int32_t DigitalDisplayGeometry::stepAt(int x) const {
    return floorDiv(x - kPlotLeft, pixelsPerStep) + firstStep;
}

int DigitalDisplayGeometry::rowAt(int y) {
    if (y < kRowPitch) return -1;
    return y / kRowPitch - 1;
}

int DigitalDisplayGeometry::visibleRows() const {
    int rows = 0;
    for (int y = 2 * kRowPitch; height - y >= kRowPitch + 1; y += kRowPitch)
        ++rows;
    return rows;
}

void DigitalDisplayGeometry::limitFirstStep(std::int32_t length) {
    if (firstStep + visibleSteps() > length) firstStep = length - visibleSteps();
    firstStep = std::max(firstStep, 0);
}

bool DigitalDisplayGeometry::zoomIn(std::int32_t cursor, std::int32_t length) {
    if (pixelsPerStep >= kMaxPixelsPerStep) return false;
    const bool cursorOnLastStep = length > 0 && cursor == length - 1;
    pixelsPerStep = std::min(pixelsPerStep * 2, kMaxPixelsPerStep);
    if (cursorOnLastStep) firstStep = length - visibleSteps();
    firstStep = std::max(firstStep, 0);
    return true;
}

bool DigitalDisplayGeometry::zoomOut(std::int32_t length) {
    if (pixelsPerStep <= kMinPixelsPerStep) return false;
    pixelsPerStep = std::max(pixelsPerStep / 2, kMinPixelsPerStep);
    limitFirstStep(length);
    return true;
}

std::int32_t DigitalDisplayGeometry::lastDrawnStep(std::int32_t length) const {
    return std::min(firstStep + visibleSteps(), length - 1);
}

TimeLabels placeTimeLabels(const DigitalDisplayGeometry& geometry, const TDigitalWave& wave,
                           int signal, double frequency, const TextWidth& textWidth) {
    TimeLabels labels;
    if (!(frequency > 0) || !wave.hasSignal(signal)) return labels;
    int previousRight = kFirstLabelEdge;
    double previousTime = 0;
    bool haveLabel = false;
    const std::int32_t last = geometry.lastDrawnStep(wave.length());
    for (std::int32_t step = geometry.firstStep; step <= last; ++step) {
        const bool changed =
            step == 0 || valueAt(wave, signal, step) != valueAt(wave, signal, step - 1);
        if (!changed) continue;
        const double time = static_cast<double>(step) / frequency;
        TimeLabel label{step, geometry.stepX(step), 0, 0, formatTime(time) + "s"};
        label.width = textWidth(label.text);
        label.left = label.x - label.width / 2;
        if (label.left <= previousRight + kLabelGap ||
            label.left + label.width >= geometry.plotRight())
            continue;
        if (haveLabel) {
            DurationLabel duration;
            duration.text = formatTime(time - previousTime) + "s";
            duration.width = textWidth(duration.text);
            const int needed = kDurationTriangle + 2 + duration.width;
            const int gap = label.left - previousRight;
            if (needed + 2 * kLabelGap <= gap) {
                duration.left = previousRight + (gap - needed) / 2;
                duration.textLeft = duration.left + kDurationTriangle + 2;
                labels.durations.push_back(std::move(duration));
            }
        }
        previousRight = label.left + label.width;
        previousTime = time;
        haveLabel = true;
        labels.times.push_back(std::move(label));
    }
    return labels;
}

std::vector<BusRun> busRuns(const DigitalDisplayGeometry& geometry, const TDigitalWave& wave,
                            int signal, const TextWidth& textWidth) {
    std::vector<BusRun> runs;
    if (!wave.hasSignal(signal)) return runs;
    const std::int32_t last = geometry.lastDrawnStep(wave.length());
    for (std::int32_t step = geometry.firstStep; step <= last; ++step) {
        const std::uint16_t value = valueAt(wave, signal, step);
        if (runs.empty() || runs.back().value != value) {
            BusRun run;
            run.first = step;
            run.value = value;
            runs.push_back(run);
        }
        runs.back().end = step + 1;
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        BusRun& run = runs[i];
        run.text = upperHex(run.value) + "h";
        const int width = textWidth(run.text);
        if (i + 1 < runs.size())
            run.labelFits = width <= (run.end - run.first) * geometry.pixelsPerStep - 5;
        else
            run.labelFits = geometry.stepX(run.first) + 3 + width < geometry.plotRight();
    }
    return runs;
}

std::string cursorValueText(const TSignal& signal, std::uint16_t word) {
    const std::uint16_t value = getSignalValue(signal, word);
    if (!signal.isBus()) return std::to_string(value);
    return upperHex(value) + "h";
}

std::string kindText(const TSignal& signal) {
    if (signal.isClock()) return "Clk" + std::to_string(signal.clockBit);
    return "Seq   E";
}

std::string cursorStepText(std::int32_t cursor) {
    return std::to_string(cursor) + "pix";
}

std::string stepTimeText(std::int32_t step, double frequency) {
    if (!(frequency > 0)) return "";
    return formatTime(static_cast<double>(step) / frequency) + "s";
}

std::string measurementText(std::int32_t cursor, std::int32_t marker, double frequency) {
    const std::int64_t steps = std::llabs(static_cast<std::int64_t>(cursor) - marker);
    if (steps == 0 || !(frequency > 0)) return "";
    const double duration = static_cast<double>(steps) / frequency;
    return formatFrequencyShort(frequency / static_cast<double>(steps)) + "Hz, " +
           formatTime(duration) + "s";
}

std::string fittedName(const TSignal& signal, int maxWidth, const TextWidth& textWidth) {
    std::string name = signal.name;
    if (signal.isBus()) name += " [0:" + std::to_string(signal.width - 1) + "]";
    while (!name.empty() && textWidth(name) > maxWidth)
        name.pop_back();
    return name;
}

int measurementLeft(int cursorX, int markerX, int width, int avoidLeft, int avoidRight, int minLeft,
                    int maxRight) {
    const int centre = (cursorX + markerX) / 2;
    int left = centre - width / 2;
    if (left < avoidRight + kLabelGap && left + width > avoidLeft - kLabelGap) {
        const int before = avoidLeft - kLabelGap - width;
        const int after = avoidRight + kLabelGap;
        // The side the text leans to, unless it has no room there.
        if (centre < (avoidLeft + avoidRight) / 2)
            left = before >= minLeft ? before : after;
        else
            left = after + width <= maxRight ? after : before;
    }
    return std::clamp(left, minLeft, std::max(minLeft, maxRight - width));
}
