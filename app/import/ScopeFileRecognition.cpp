#include "import/ScopeFileRecognition.h"

#include <string_view>

#include "core/FileStore.h"
#include "import/Q726DataFile.h"
#include "import/R210DataFile.h"
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
    static_assert(kLargestR210File >= kLargestQ726File);
    const FileRead read = readFileOfKind(fileName, kLargestR210File);
    if (read.status == ReadStatus::CannotOpen) return ScopeFileKind::CannotOpen;
    if (read.status == ReadStatus::TooLarge) return ScopeFileKind::Q726;
    return recogniseScopeContent(read.content);
}
