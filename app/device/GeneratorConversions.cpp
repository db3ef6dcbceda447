#include "device/GeneratorConversions.h"

#include <cmath>
#include <limits>

#include "core/Rounding.h"

namespace {

constexpr double SourceResistance = 50.0;
constexpr double AttenuatorFactor = 10.0;

// Open output, normal path: code 0 = -4000 mV, 2048 = 0, 4096 = +4000 mV.
double offsetOpen(double code) {
    return code * 8000.0 / 4096.0 - 4000.0;
}
// Open output, normal path, peak-to-peak: 800 mV at code 0 to 16000 mV at 4096.
double amplitudeOpen(double code) {
    return code * 15200.0 / 4096.0 + 800.0;
}

double pathFactor(generator::OutputPath path) {
    double factor = LoadFactor(path.load);
    if (path.outputState == generator::OutputMinus20dB) factor /= AttenuatorFactor;
    return factor;
}

// The open-circuit voltage that gives mV across the load. Into a short circuit only 0 mV is
// reachable, and it is reached with an open-circuit voltage of 0.
double openCircuit(double millivolts, std::int32_t load) {
    if (millivolts == 0.0) return 0.0;
    return millivolts / LoadFactor(load);
}

// Nearest integer, ties to even. Values beyond the 32-bit range (a zero load factor, absurd
// inputs) saturate instead of overflowing.
std::int32_t roundToCode(double value) {
    if (std::isnan(value)) return 0;
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    double rounded = roundHalfEven(value);
    if (rounded <= low) return std::numeric_limits<std::int32_t>::min();
    if (rounded >= high) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

double LoadFactor(std::int32_t load) {
    if (load < 0) return 1.0;
    return load / (load + SourceResistance);
}

double OffsetVolts(generator::OutputPath path, std::int32_t shiftCode) {
    return pathFactor(path) * offsetOpen(shiftCode);
}

double LevelVolts(generator::OutputPath path, std::int32_t levelCode) {
    return pathFactor(path) * amplitudeOpen(levelCode);
}

std::int32_t ShiftCodeFromVolts(generator::OutputPath path, double millivolts) {
    double atPath =
        path.outputState == generator::OutputMinus20dB ? millivolts * AttenuatorFactor : millivolts;
    return roundToCode((openCircuit(atPath, path.load) + 4000.0) * 4096.0 / 8000.0);
}

std::int32_t LevelCodeFromVolts(std::int32_t load, double millivolts) {
    return roundToCode((openCircuit(millivolts, load) - 800.0) * 4096.0 / 15200.0);
}

double SampleVolts(generator::OutputPath path, std::int32_t levelCode, std::int32_t shiftCode,
                   double sample) {
    return pathFactor(path) *
           (amplitudeOpen(levelCode) * (sample - 128.0) / 254.0 + offsetOpen(shiftCode));
}

std::int32_t ZeroLine(std::int32_t levelCode, std::int32_t shiftCode) {
    return roundToCode(129.0 - 254.0 * offsetOpen(shiftCode) / amplitudeOpen(levelCode));
}
