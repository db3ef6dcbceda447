#include "digital/DigitalMacro.h"

#include <algorithm>

void copyMacro(const TDigitalMacro& source, TDigitalMacro& target) {
    if (&source == &target) return;
    target = source;
    target.valueFile.reset();
}

void clearMacro(TDigitalMacro& macro) {
    clearWave(macro.wave);
    macro.bindings.clear();
}

void applyMacroValue(std::uint32_t value, TDigitalMacro& macro) {
    TDigitalWave& wave = macro.wave;
    for (const MacroBinding& binding : macro.bindings) {
        if (!wave.hasSignal(binding.signal) || binding.step < 0 || binding.step >= wave.length())
            continue;
        std::uint32_t v = value >> (binding.bit & 31);
        if (binding.invert == 1) v = ~v;
        setSignalValue(wave.signals[static_cast<std::size_t>(binding.signal)],
                       wave.word(binding.step), static_cast<std::uint16_t>(v));
    }
}

MacroBinding* findBinding(TDigitalMacro& macro, std::int32_t signal, std::int32_t step) {
    auto found =
        std::find_if(macro.bindings.begin(), macro.bindings.end(),
                     [&](const MacroBinding& b) { return b.signal == signal && b.step == step; });
    return found == macro.bindings.end() ? nullptr : &*found;
}
