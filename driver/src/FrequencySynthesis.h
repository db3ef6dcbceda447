#pragma once

#include <cstdint>

#include "RegisterAccess.h"

namespace q745drv {

// The sample clock: a 16-bit synthesiser code between halfOscillator and oscillatorFrequency
// and a power-of-two divider. In octave mode (both channels hold octave sets) the request is
// the signal frequency and an octave of the set is chosen; otherwise it is the sample clock.
class FrequencySynthesis {
public:
    static constexpr std::int32_t kCodeMin = 32767;
    static constexpr std::int32_t kCodeMax = 65535;
    static constexpr std::int32_t kMaxDivider = 15;
    static constexpr std::int32_t kMaxOctave = 15;

    explicit FrequencySynthesis(RegisterAccess& registers) : registers_(registers) {}

    // Returns the frequency the instrument produces (signal or sample clock, as requested).
    float setFrequency(float frequency);
    float oscillatorFrequency() const { return registers_.state().calibration.oscillatorFrequency; }

    // Plays the first 16384 / 2^n points of octave n (at least 2): end address registers.
    void applyPlayedLength(std::int32_t octave);

    // The synthesiser code for a clock x already brought into halfOscillator..oscillator.
    static std::int32_t synthesiserCode(float x, float halfOscillator);
    // The synthesiser's output for a code, rounded to 32-bit float.
    static float synthesiserFrequency(std::int32_t code, float halfOscillator);

private:
    float setOctaveFrequency(float frequency);
    float setDirectFrequency(float frequency);

    RegisterAccess& registers_;
};

}  // namespace q745drv
