#include "digital/RunningEntrySetup.h"

#include "digital/IntegerText.h"

void dropMissingTargets(TDigitalMacro& entry, const TDigitalWave& wave) {
    for (std::int8_t& target : entry.targetMap)
        if (target >= wave.signalCount) target = kNoTarget;
}

void assignTarget(TDigitalMacro& entry, int element, int target) {
    if (element < 0 || element >= kMaxSignals) return;
    for (std::int8_t& assigned : entry.targetMap)
        if (assigned == target) assigned = kNoTarget;
    entry.targetMap[static_cast<std::size_t>(element)] = static_cast<std::int8_t>(target);
}

std::string targetLineText(const TDigitalMacro& entry, const TDigitalWave& wave, int target) {
    if (!wave.hasSignal(target)) return "";
    const TSignal& signal = wave.signals[static_cast<std::size_t>(target)];
    const std::string targetName = signalDisplayName(signal);
    for (int e = 0; e < entry.wave.signalCount; ++e) {
        if (entry.targetMap[static_cast<std::size_t>(e)] != target) continue;
        const TSignal& element = entry.wave.signals[static_cast<std::size_t>(e)];
        std::string line = targetName + " = " + signalDisplayName(element);
        if (element.width > signal.width) line += " !!!";
        if (element.width < signal.width) line += " ???";
        return line;
    }
    return targetName + " <not assigned>";
}

std::string setUpRunningEntry(TDigitalMacro& entry, const TDigitalWave& wave,
                              const RunningEntryInput& input) {
    const std::optional<std::int32_t> count = parseInteger32(input.countText);
    if (!count) return "Nespravny pocet";
    if (*count < 1) return "Pocet musi byt vacsi ako nula";
    std::optional<std::int32_t> offset;
    if (input.valueFromFile) {
        if (input.fileName.empty()) return "Zadajte meno suboru";
        offset = parseInteger32(input.offsetText);
        if (!offset) return "Nespravny offset suboru";
    }
    for (int e = 0; e < entry.wave.signalCount; ++e)
        if (entry.targetOf(e, wave) < 0) return "Musite priradit kazdy prvok makra";
    entry.cycles = entry.remaining = *count;
    entry.position = -1;
    entry.value = 0;
    entry.valueSource = kValueAsk;
    if (input.valueFromFile) {
        entry.valueSource = kValueFromFile;
        entry.description = input.fileName;
        entry.fileOffset = *offset;
        entry.valueWidth = input.valueWidth <= 3 ? input.valueWidth : 0;
    }
    return "";
}
