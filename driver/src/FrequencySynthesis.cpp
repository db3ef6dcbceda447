#include "FrequencySynthesis.h"

#include <cmath>

namespace q745drv {

namespace {

// Brings x up into the synthesiser's range by doubling, counting the divider exponent.
std::int32_t dividerFor(float& x, float halfOscillator) {
    std::int32_t divider = 1;
    while (x < halfOscillator && divider < FrequencySynthesis::kMaxDivider) {
        x = x * 2.0f;
        ++divider;
    }
    return divider;
}

}  // namespace

std::int32_t FrequencySynthesis::synthesiserCode(float x, float halfOscillator) {
    // Computed in extended precision and truncated toward zero, then limited; a NaN request
    // ends at the lowest code.
    const long double raw =
        32768.0L * (static_cast<long double>(x) - halfOscillator) / halfOscillator + 32767.0L;
    if (!(raw >= kCodeMin)) return kCodeMin;
    if (raw >= kCodeMax) return kCodeMax;
    return static_cast<std::int32_t>(std::trunc(raw));
}

float FrequencySynthesis::synthesiserFrequency(std::int32_t code, float halfOscillator) {
    return static_cast<float>(
        static_cast<long double>(code - kCodeMin) * halfOscillator / 32768.0L + halfOscillator);
}

float FrequencySynthesis::setFrequency(float frequency) {
    registers_.acquireDevice();
    const float result = registers_.state().octaveModeForBoth() ? setOctaveFrequency(frequency)
                                                                : setDirectFrequency(frequency);
    registers_.releaseDevice();
    return result;
}

float FrequencySynthesis::setOctaveFrequency(float frequency) {
    DriverState& state = registers_.state();
    const CalibrationTable& calibration = state.calibration;
    float x = frequency * 16384.0f;
    std::int32_t octave = 0;
    while (x > calibration.oscillatorFrequency && octave < kMaxOctave) {
        x = x * 0.5f;
        ++octave;
    }
    const std::int32_t divider = dividerFor(x, calibration.halfOscillator);
    const std::int32_t code = synthesiserCode(x, calibration.halfOscillator);

    registers_.writeRegister(kClockDivider, divider);
    state.shadow[kEndAddressTop] =
        static_cast<std::uint8_t>((state.shadow[kEndAddressTop] & 0x0F) | (octave << 4));
    registers_.refreshRegister(kEndAddressTop);
    registers_.writeRegister(kSynthesiserHigh, (code >> 8) & 0xFF);
    registers_.writeRegister(kSynthesiserLow, code & 0xFF);
    state.currentOctave = octave;
    applyPlayedLength(octave);

    float result = synthesiserFrequency(code, calibration.halfOscillator);
    for (std::int32_t i = 1; i < divider; ++i)
        result = result * 0.5f;
    for (std::int32_t i = 0; i < octave; ++i)
        result = result * 2.0f;
    return result * (1.0f / 16384.0f);
}

float FrequencySynthesis::setDirectFrequency(float frequency) {
    const CalibrationTable& calibration = registers_.state().calibration;
    float x = frequency;
    const std::int32_t divider = dividerFor(x, calibration.halfOscillator);
    const std::int32_t code = synthesiserCode(x, calibration.halfOscillator);
    registers_.writeRegister(kClockDivider, divider);
    registers_.writeRegister(kSynthesiserHigh, (code >> 8) & 0xFF);
    registers_.writeRegister(kSynthesiserLow, code & 0xFF);

    float result = synthesiserFrequency(code, calibration.halfOscillator);
    for (std::int32_t i = 1; i < divider; ++i)
        result = result * 0.5f;
    return result;
}

void FrequencySynthesis::applyPlayedLength(std::int32_t octave) {
    std::int32_t length = kPointsPerWaveform;
    for (std::int32_t i = 0; i < octave && length > 2; ++i)
        length /= 2;
    registers_.writeEndAddress(static_cast<std::uint32_t>(length - 1));
}

}  // namespace q745drv
