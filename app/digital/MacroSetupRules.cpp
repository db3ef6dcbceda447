#include "digital/MacroSetupRules.h"

#include "core/UserMessages.h"
#include "digital/MacroLibrary.h"

namespace {

constexpr const char* kDefaultDescription = "V00-V31";

}  // namespace

bool confirmMacroSetup(MacroLibrary& library, int configuredIndex, const std::string& typedName,
                       const std::string& description, std::uint8_t valueWidth,
                       UserMessages& messages) {
    if (library.empty()) return false;
    TDigitalMacro& macro = library.back();
    if (typedName.empty()) {
        messages.error("Musite zadat meno makra");
        return false;
    }
    const std::string lowerName = lowerCaseName(typedName);
    for (std::size_t i = 0; i + 1 < library.size(); ++i) {
        if (static_cast<int>(i) != configuredIndex && lowerCaseName(library[i].name) == lowerName) {
            messages.error("Makro s takym menom uz existuje");
            return false;
        }
    }
    if (macro.wave.length() < 1) {
        messages.error("Nie je mozne vytvorit prazdne makro");
        return false;
    }
    if (!macro.bindings.empty() && description == kDefaultDescription &&
        messages.messageBox("Nezadali ste popis premennej.\r\nNema to vsak ziaden efekt na "
                            "funkcnost makra.\r\nChcete pokracovat ?",
                            MessageKind::Warning, MessageButtons::YesNo) == MessageResult::No)
        return false;
    macro.name = typedName;
    macro.description = description;
    macro.valueWidth = valueWidth <= 3 ? valueWidth : 0;
    return true;
}

TDigitalMacro newLibraryMacro() {
    TDigitalMacro macro;
    macro.name = "MyMacro";
    macro.description = kDefaultDescription;
    return macro;
}
