#include "digital/MacroFile.h"

#include "core/UserMessages.h"
#include "digital/DigitalFiles.h"
#include "digital/MacroLibrary.h"

namespace {

// A name that stays a plain file name inside "Export" wherever the file is opened.
bool staysInExportFolder(const std::string& macroName) {
    return macroName.find_first_of("/\\") == std::string::npos &&
           macroName.find('\0') == std::string::npos && macroName.find("..") == std::string::npos;
}

}  // namespace

std::vector<std::uint8_t> encodeMacroFile(const TDigitalMacro& macro) {
    ByteWriter out;
    writeMacroBlock(out, macro);
    return out.take();
}

TDigitalMacro decodeMacroFile(std::span<const std::uint8_t> content) {
    ByteReader in(content);
    TDigitalMacro macro;
    readMacroBlock(in, macro);
    in.expectEnd();
    return macro;
}

std::string exportFileName(const std::string& macroName) {
    return std::string(kExportFolderName) + "/" + macroName + ".gma";
}

bool exportMacro(const MacroLibrary& library, const std::vector<int>& order, int line,
                 const std::filesystem::path& folder, UserMessages& messages) {
    if (line < 0 || static_cast<std::size_t>(line) >= order.size() || order[line] < 0 ||
        static_cast<std::size_t>(order[line]) >= library.size()) {
        messages.error("Zvolte si makro");
        return false;
    }
    const TDigitalMacro& macro = library[static_cast<std::size_t>(order[line])];
    const std::string displayName = exportFileName(macro.name);
    if (!staysInExportFolder(macro.name)) {
        messages.error("Nie je mozne otvorit subor: " + displayName);
        return false;
    }
    const std::filesystem::path exportFolder = folder / kExportFolderName;
    std::error_code ignored;
    std::filesystem::create_directory(exportFolder, ignored);
    if (!writeUserFile(exportFolder / (macro.name + ".gma"), displayName, encodeMacroFile(macro),
                       messages))
        return false;
    messages.information("Export ukonceny do: " + displayName);
    return true;
}

bool importMacro(MacroLibrary& library, const std::filesystem::path& fileName,
                 UserMessages& messages) {
    const std::string name = fileName.string();
    TDigitalMacro macro;
    if (!loadUserFile(
            fileName, name, kLargestMacroFile,
            [&](std::span<const std::uint8_t> content) { macro = decodeMacroFile(content); },
            messages))
        return false;
    const std::string lowerName = lowerCaseName(macro.name);
    for (const TDigitalMacro& existing : library) {
        if (lowerCaseName(existing.name) == lowerName) {
            messages.error("Makro s rovnakym menom (" + existing.name + ") uz existuje !");
            return false;
        }
    }
    library.push_back(std::move(macro));
    messages.information("Import ukonceny do: " + name);
    return true;
}
