#include "import/ScopeFileRecognition.h"

#include <string_view>

#include "core/FileStore.h"
#include "import/TextLineReader.h"

ScopeFileKind recogniseScopeContent(std::span<const std::uint8_t> content) {
    TextLineReader lines(content);
    std::string_view line;
    while (lines.next(line)) {
        if (line == "SettingsEnd") return ScopeFileKind::R210;
    }
    return ScopeFileKind::Q726;
}

ScopeFileKind recogniseScopeFile(const std::filesystem::path& fileName) {
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(fileName);
    if (!content) return ScopeFileKind::CannotOpen;
    return recogniseScopeContent(*content);
}
