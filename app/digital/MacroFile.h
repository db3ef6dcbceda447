#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "digital/DigitalMacro.h"
#include "digital/MacroBlock.h"

class UserMessages;

// ".gma": one macro block, exchanged through the folder "Export" of the start directory.
inline constexpr const char* kExportFolderName = "Export";
// One macro block and nothing else.
inline constexpr std::size_t kLargestMacroFile = kLargestMacroBlockSize;

std::vector<std::uint8_t> encodeMacroFile(const TDigitalMacro& macro);
// Raises InvalidFile.
TDigitalMacro decodeMacroFile(std::span<const std::uint8_t> content);

// The name under which a macro is exported, relative to the start directory: "Export/A.gma".
std::string exportFileName(const std::string& macroName);

// Exports the library entry shown on list line `line` (through `order`) to folder/"Export".
// Messages: "Zvolte si makro" without a line; "Nie je mozne otvorit subor: " + name when the file
// cannot be created, also for a macro name that would lead out of the folder "Export"
// (a path separator or ".."); "Neplatny subor: " + name; "Export ukonceny do: " + name.
bool exportMacro(const MacroLibrary& library, const std::vector<int>& order, int line,
                 const std::filesystem::path& folder, UserMessages& messages);

// Appends the macro of a ".gma" file to the library unless its name is taken (compared without
// regard to case). Messages: "Nie je mozne otvorit subor: ", "Neplatny subor: ",
// "Makro s rovnakym menom (" + name + ") uz existuje !", "Import ukonceny do: " + name.
bool importMacro(MacroLibrary& library, const std::filesystem::path& fileName,
                 UserMessages& messages);
