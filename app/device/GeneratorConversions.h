#pragma once

#include <cstdint>

// Conversions between the instrument's codes and millivolts at the output terminals.
//
// Codes: level 0..4096 (peak-to-peak), shift 0..4096 (2048 = 0 V). Samples 1..255, 128 = 0 V,
// 254 steps spanning the peak-to-peak level. The output has a 50 ohm source resistance, so a
// load divides the open-circuit voltage; the -20 dB path (output state 2) divides it by ten.

namespace generator {

inline constexpr std::int32_t OpenLoad = -1;
inline constexpr std::int32_t OutputOff = 0;
inline constexpr std::int32_t OutputNormal = 1;
inline constexpr std::int32_t OutputMinus20dB = 2;

// What the voltage at the terminals depends on besides the codes.
struct OutputPath {
    std::int32_t load = OpenLoad;  // ohms; -1 = open (high impedance)
    std::int32_t outputState = OutputNormal;
};

}  // namespace generator

// Fraction of the open-circuit voltage that reaches the load: load / (load + 50), 1.0 when open.
// Only -1 is documented as open; any other negative value is not a load either and is treated
// the same way instead of dividing by zero or flipping the sign.
double LoadFactor(std::int32_t load);

// DC shift in mV for a shift code.
double OffsetVolts(generator::OutputPath path, std::int32_t shiftCode);
// Peak-to-peak level in mV for a level code.
double LevelVolts(generator::OutputPath path, std::int32_t levelCode);
// Shift code that gives mV at the terminals (mV taken on the chosen path).
std::int32_t ShiftCodeFromVolts(generator::OutputPath path, double millivolts);
// Level code for a peak-to-peak mV value that the caller has already scaled for the path it
// chose, so only the load is taken into account.
std::int32_t LevelCodeFromVolts(std::int32_t load, double millivolts);
// Voltage in mV of sample value s (1..255) at the given level and shift codes.
double SampleVolts(generator::OutputPath path, std::int32_t levelCode, std::int32_t shiftCode,
                   double sample);
// The sample value at which the output crosses 0 V.
std::int32_t ZeroLine(std::int32_t levelCode, std::int32_t shiftCode);
