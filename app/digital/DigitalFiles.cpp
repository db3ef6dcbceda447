#include "digital/DigitalFiles.h"

#include <optional>
#include <vector>

#include "core/FileStore.h"
#include "core/UserError.h"
#include "core/UserMessages.h"

namespace {

// Replaces target through temporary; the temporary of a failed write is removed.
bool replaceReporting(const std::filesystem::path& target, const std::filesystem::path& temporary,
                      std::span<const std::uint8_t> bytes, const std::string& cannotCreateText,
                      const std::string& failureText, UserMessages& messages) {
    switch (replaceFileAtomically(target, temporary, bytes)) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error(cannotCreateText);
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    messages.error(failureText);
    return false;
}

bool loadReporting(const std::filesystem::path& fileName, const std::string& displayName,
                   const FileDecoder& decode, const std::string& invalidText,
                   UserMessages& messages) {
    const std::optional<std::vector<std::uint8_t>> content = readWholeFile(fileName);
    if (!content) {
        messages.error("Nie je mozne otvorit subor: " + displayName);
        return false;
    }
    try {
        decode(*content);
    } catch (const InvalidFile&) {
        messages.error(invalidText);
        return false;
    }
    return true;
}

}  // namespace

bool writeUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                   std::span<const std::uint8_t> bytes, UserMessages& messages) {
    std::filesystem::path temporary = fileName;
    temporary += ".tmp";
    return replaceReporting(fileName, temporary, bytes,
                            "Nie je mozne otvorit subor: " + displayName,
                            "Neplatny subor: " + displayName, messages);
}

bool loadUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                  const FileDecoder& decode, UserMessages& messages) {
    return loadReporting(fileName, displayName, decode, "Neplatny subor: " + displayName, messages);
}

bool loadOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                 const FileDecoder& decode, UserMessages& messages) {
    return loadReporting(folder / fileName, fileName, decode, "Neplatny subor", messages);
}

bool replaceOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                    const std::string& temporaryName, std::span<const std::uint8_t> bytes,
                    const std::string& failureText, UserMessages& messages) {
    return replaceReporting(folder / fileName, folder / temporaryName, bytes,
                            "Nie je mozne ukladat do suboru: " + temporaryName, failureText,
                            messages);
}
