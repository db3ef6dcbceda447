#pragma once

#include <string>

#include "digital/DigitalMacro.h"

class UserMessages;

// "Ok" of "Setup digital macro" for the macro under edit, which is the library's last entry;
// configuredIndex is the entry it will replace ("Configure"), -1 for a new macro. The typed name
// is required ("Musite zadat meno makra") and must differ, without regard to case as on import,
// from every other entry but the configured one, so that a configured macro keeps its name
// ("Makro s takym menom uz existuje"); the template needs a step
// ("Nie je mozne vytvorit prazdne makro"); a macro with bindings whose value description is
// still "V00-V31" asks first ("Nezadali ste popis premennej...", No keeps the dialog open).
// On success the name, description and value width are stored and true is returned.
bool confirmMacroSetup(MacroLibrary& library, int configuredIndex, const std::string& typedName,
                       const std::string& description, std::uint8_t valueWidth,
                       UserMessages& messages);

// The entry "New macro" adds to the library before the macro editor opens on it.
TDigitalMacro newLibraryMacro();
