#include "generators/HandReadouts.h"

#include "core/UnitFormat.h"

namespace {

constexpr const char* NotAvailable = "N/A";

std::string timeText(int points, double frequency) {
    return formatTime(points / (frequency * kWavePointCount)) + "s";
}

std::string voltsText(int steps, double levelMillivolts) {
    return formatVoltage(steps * levelMillivolts / 254000) + "V";
}

}  // namespace

HandReadout handCursorReadout(const HandCursorInput& input) {
    HandReadout readout;
    const GalleryCursorInput& c = input.cursors;
    readout.cursors = galleryCursorReadout(c);
    readout.redToStart = timeText(c.x1, c.frequency);
    readout.blueToStart = timeText(c.x2, c.frequency);
    readout.pointToRedV =
        input.pointerIndex ? timeText(*input.pointerIndex - c.x1, c.frequency) : NotAvailable;
    readout.pointToRedH = input.pointerValue
                              ? voltsText(*input.pointerValue - c.y1, c.levelMillivolts)
                              : NotAvailable;
    readout.pointToBlueH = input.pointerValue
                               ? voltsText(*input.pointerValue - c.y2, c.levelMillivolts)
                               : NotAvailable;
    return readout;
}
