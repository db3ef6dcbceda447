#include "digital/DigitalFiles.h"

#include "FileStore.h"
#include "UserError.h"
#include "UserMessages.h"

bool writeUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                   std::span<const std::uint8_t> bytes, UserMessages& messages) {
    std::filesystem::path temporary = fileName;
    temporary += ".tmp";
    switch (replaceFileAtomically(fileName, temporary, bytes)) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error("Nie je mozne otvorit subor: " + displayName);
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    messages.error("Neplatny subor: " + displayName);
    return false;
}

std::optional<std::vector<std::uint8_t>> readUserFile(const std::filesystem::path& fileName,
                                                      const std::string& displayName,
                                                      UserMessages& messages) {
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(fileName);
    if (!content) messages.error("Nie je mozne otvorit subor: " + displayName);
    return content;
}

bool loadOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                 const std::function<void(std::span<const std::uint8_t>)>& decode,
                 UserMessages& messages) {
    const auto content = readUserFile(folder / fileName, fileName, messages);
    if (!content) return false;
    try {
        decode(*content);
    } catch (const InvalidFile&) {
        messages.error("Neplatny subor");
        return false;
    }
    return true;
}

bool replaceOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                    const std::string& temporaryName, std::span<const std::uint8_t> bytes,
                    const std::string& failureText, UserMessages& messages) {
    switch (replaceFileAtomically(folder / fileName, folder / temporaryName, bytes)) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error("Nie je mozne ukladat do suboru: " + temporaryName);
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    std::error_code ignored;
    std::filesystem::remove(folder / temporaryName, ignored);
    messages.error(failureText);
    return false;
}
