#include "digital/MacroBindings.h"

#include <algorithm>
#include <vector>

#include "core/UnitFormat.h"
#include "digital/IntegerText.h"
#include "digital/MacroLibrary.h"

namespace {

// A cell has at most one binding: the new one replaces whatever the cell held.
void setBinding(TDigitalMacro& macro, const MacroBinding& binding) {
    if (MacroBinding* existing = findBinding(macro, binding.signal, binding.step))
        *existing = binding;
    else
        macro.bindings.push_back(binding);
}

}  // namespace

void shiftBindings(TDigitalMacro& macro, std::int32_t position, int direction) {
    auto& bindings = macro.bindings;
    if (direction < 0)
        std::erase_if(bindings, [&](const MacroBinding& b) { return b.step == position; });
    for (MacroBinding& binding : bindings)
        if (binding.step > position) binding.step += direction < 0 ? -1 : 1;
}

void copyBindings(TDigitalMacro& macro, std::int32_t position) {
    std::vector<MacroBinding> copies;
    for (const MacroBinding& binding : macro.bindings) {
        if (binding.step != position || !macro.wave.hasSignal(binding.signal)) continue;
        if (macro.wave.signals[static_cast<std::size_t>(binding.signal)].isClock()) continue;
        MacroBinding copy = binding;
        copy.step = position + 1;
        copies.push_back(copy);
    }
    for (const MacroBinding& copy : copies)
        setBinding(macro, copy);
}

std::string assignBinding(TDigitalMacro& macro, int signal, std::int32_t step,
                          std::string_view bitText, bool invert) {
    if (!macro.wave.hasSignal(signal) || step < 0 || step >= macro.wave.length())
        return "Nespravne hodnoty";
    const int width = macro.wave.signals[static_cast<std::size_t>(signal)].width;
    const std::optional<std::int32_t> bit = parseInteger32(bitText);
    if (!bit || *bit < 0 || (width > 1 ? width + *bit >= 32 : *bit > 31))
        return "Nespravne hodnoty";
    setBinding(macro, {*bit, static_cast<std::uint8_t>(invert ? 1 : 0), signal, step});
    return "";
}

bool removeBinding(TDigitalMacro& macro, int signal, std::int32_t step) {
    return std::erase_if(macro.bindings, [&](const MacroBinding& b) {
               return b.signal == signal && b.step == step;
           }) > 0;
}

std::string bindingTopBitText(std::string_view fromText, int width) {
    const std::optional<std::int32_t> from = parseInteger32(fromText);
    if (!from) return "NA";
    const std::int64_t top = static_cast<std::int64_t>(*from) + width - 1;
    if (top >= 32) return "NA";
    return twoDigits(static_cast<int>(top));
}

void replaceTemplateSignals(TDigitalMacro& macro, const TDigitalWave& newTemplate) {
    const TDigitalWave& old = macro.wave;
    std::vector<int> newIndex(old.usedSignals().size(), -1);
    for (std::size_t i = 0; i < newIndex.size(); ++i) {
        const std::string& name = old.signals[i].name;
        for (int j = 0; j < newTemplate.signalCount; ++j) {
            const std::string& candidate = newTemplate.signals[static_cast<std::size_t>(j)].name;
            if (candidate == name) {
                newIndex[i] = j;
                break;
            }
            if (lowerCaseName(candidate) == lowerCaseName(name)) newIndex[i] = j;
        }
    }
    std::erase_if(macro.bindings, [&](const MacroBinding& b) {
        return b.signal < 0 || static_cast<std::size_t>(b.signal) >= newIndex.size() ||
               newIndex[static_cast<std::size_t>(b.signal)] < 0;
    });
    for (MacroBinding& binding : macro.bindings)
        binding.signal = newIndex[static_cast<std::size_t>(binding.signal)];
    copyWave(newTemplate, macro.wave);
}
