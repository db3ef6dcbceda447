#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/FileStore.h"
#include "digital/DigitalMacro.h"

class UserMessages;

// "DMacros.dat": the macro library, kept in the start directory and read while the digital
// wave editor is open.
inline constexpr const char* kMacroLibraryFileName = "DMacros.dat";
inline constexpr const char* kMacroLibraryTemporaryName = "DMacrosTmp.dat";
// The library has no limit of its own; files beyond this size are refused.
inline constexpr std::size_t kLargestMacroLibraryFile = kLargestFileOfOurs;

std::vector<std::uint8_t> encodeLibrary(const MacroLibrary& library);
// Raises InvalidFile (also for bytes after the trailer). The library then keeps the entries read so
// far and, when the count was read, empty entries up to it (a count larger than the file could hold
// is refused at once).
void decodeLibrary(std::span<const std::uint8_t> content, MacroLibrary& library);

// Messages: "Nie je mozne otvorit subor: DMacros.dat", "Neplatny subor".
bool loadLibrary(MacroLibrary& library, const std::filesystem::path& folder,
                 UserMessages& messages);
// Replaces folder/"DMacros.dat" through "DMacrosTmp.dat"; on failure the old file stays whole.
bool saveLibrary(const MacroLibrary& library, const std::filesystem::path& folder,
                 UserMessages& messages);

// Library indexes sorted by lower-case name, in the order the library list shows them. Equal
// names and names of which one begins the other keep their library order.
std::vector<int> libraryOrder(const MacroLibrary& library);

// ASCII lower case, as names are compared.
std::string lowerCaseName(std::string_view name);
