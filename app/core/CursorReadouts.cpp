#include "core/CursorReadouts.h"

#include <cmath>
#include <cstdlib>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

namespace {

constexpr double PeriodPoints = 16384.0;

// A share in percent with one decimal: round(value * 10) / 10.
std::string percentText(double value) {
    return plainNumberText(roundHalfEven(value * 10.0) / 10.0) + "%";
}

void fillTime(CursorReadout& readout, double seconds) {
    readout.deltaXTime = formatTime(seconds) + "s";
    if (seconds != 0) readout.deltaXFrequency = formatFrequencyShort(1.0 / seconds) + "Hz";
}

void fillVertical(CursorReadout& readout, const CursorPositions& cursors,
                  const ChannelLevel& level) {
    const int dy = std::abs(cursors.y1 - cursors.y2);
    readout.deltaY =
        level.peakToPeak != 0 ? percentText(dy / (level.peakToPeak / 100.0)) : std::string("N/A");
    readout.deltaYVolts = formatVoltage(dy * level.levelMillivolts / 254000.0) + "V";
    const int aboveCursor = cursors.zero - cursors.y1;
    readout.deltaYAbsolute = formatVoltage(-level.levelMillivolts * aboveCursor / 254000.0) + "V";
}

}  // namespace

CursorReadout analogCursorReadout(const CursorPositions& cursors, const ChannelLevel& level,
                                  double frequency, int octaveFactor, int multiplier) {
    CursorReadout readout;
    const int dx = std::abs(cursors.x1 - cursors.x2);
    readout.deltaX = percentText(dx / 163.84);
    fillTime(readout,
             dx * static_cast<double>(octaveFactor) / (frequency * multiplier * PeriodPoints));
    fillVertical(readout, cursors, level);
    return readout;
}

CursorReadout importCursorReadout(const CursorPositions& cursors, const ChannelLevel& level,
                                  double tickFrequency, int pointCount) {
    CursorReadout readout;
    const int dx = std::abs(cursors.x1 - cursors.x2);
    readout.deltaX = percentText(dx * 100.0 / pointCount);
    fillTime(readout, dx / tickFrequency);
    fillVertical(readout, cursors, level);
    return readout;
}

std::optional<std::string> importRepetitionText(double tickFrequency, int pointCount) {
    if (pointCount / tickFrequency == 0) return std::nullopt;
    return formatFrequency6(tickFrequency / pointCount) + "Hz";
}

std::string phaseDegreesText(int phasePoints) {
    return plainNumberText(roundHalfEven(phasePoints * 3600.0 / PeriodPoints) / 10.0);
}

std::optional<int> phasePointsFromText(const std::string& text) {
    const std::optional<double> degrees = parseDecimal(commaToPoint(text));
    if (!degrees) return std::nullopt;
    const double points = std::trunc(PeriodPoints * *degrees / 360.0);
    // A number too large for the period would not fit the phase; it is no phase either.
    if (!(std::abs(points) < 2147483647.0)) return std::nullopt;
    return static_cast<int>(points);
}

bool insideWithMargin(int x, int y, int left, int top, int width, int height) {
    return x > left && y > top && x < left + width - 1 && y < top + height - 1;
}
