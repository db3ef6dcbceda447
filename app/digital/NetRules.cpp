#include "digital/NetRules.h"

#include <vector>

#include "core/UnitFormat.h"
#include "digital/IntegerText.h"
#include "digital/MacroLibrary.h"

namespace {

// The lower-case names a net occupies: its own and, for a bus, those its lines would get when
// exploded.
std::vector<std::string> occupiedNames(const std::string& name, int width) {
    std::vector<std::string> names{lowerCaseName(name)};
    if (width > 1)
        for (int i = 0; i < width; ++i)
            names.push_back(lowerCaseName(name + twoDigits(i)));
    return names;
}

}  // namespace

bool netNameClashes(const TDigitalWave& nets, const std::string& name, int width) {
    const std::vector<std::string> candidates = occupiedNames(name, width);
    for (const TSignal& existing : nets.usedSignals()) {
        for (const std::string& taken : occupiedNames(existing.name, existing.width))
            for (const std::string& candidate : candidates)
                if (candidate == taken) return true;
    }
    return false;
}

NewNetCheck checkNewNet(const TDigitalWave& nets, const std::string& name, bool bus,
                        std::string_view topIndexText) {
    if (nets.signalCount >= kMaxSignals) return {"Maximalny pocet prvkov prekroceny"};
    if (name.empty()) return {"Musite zadat meno prvku"};
    int width = 1;
    if (bus) {
        const std::optional<std::int32_t> top = parseInteger32(topIndexText);
        if (!top || *top < 1 || *top > kMaxSignalWidth - 1) return {"Nespravna velkost zbernice"};
        width = *top + 1;
    }
    if (netNameClashes(nets, name, width)) return {"Prvok s takym menom uz existuje"};
    return {"", static_cast<std::uint8_t>(width)};
}

std::string addMacroElement(TDigitalWave& templateWave, const std::string& name, bool bus,
                            std::string_view topIndexText) {
    const NewNetCheck check = checkNewNet(templateWave, name, bus, topIndexText);
    if (!check.error.empty()) return check.error;
    int usedWidth = check.width;
    std::uint16_t usedLines = 0;
    for (const TSignal& element : templateWave.usedSignals()) {
        usedWidth += element.width;
        usedLines |= signalLineMask(element);
    }
    if (usedWidth > kMaxSignalWidth) return "Nie je dost miesta na vytvorenie prvku";
    TSignal element;
    element.name = name;
    element.width = check.width;
    int pin = 0;
    for (int line = 0; line < kMaxSignalWidth && pin < check.width; ++line) {
        const auto mask = static_cast<std::uint16_t>(1u << line);
        if (usedLines & mask) continue;
        element.pins[static_cast<std::size_t>(pin)] = {mask, static_cast<std::int8_t>(line - pin)};
        ++pin;
    }
    // Lines shared by stored elements can leave fewer free lines than the widths promise.
    if (pin < check.width) return "Nie je dost miesta na vytvorenie prvku";
    templateWave.signals[static_cast<std::size_t>(templateWave.signalCount++)] = std::move(element);
    return "";
}
