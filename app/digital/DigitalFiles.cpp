#include "digital/DigitalFiles.h"

#include "core/FileStore.h"
#include "core/UserError.h"
#include "core/UserMessages.h"

namespace {

bool reportReplacement(ReplaceResult result, const std::string& cannotCreateText,
                       const std::string& failureText, UserMessages& messages) {
    switch (result) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error(cannotCreateText);
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    messages.error(failureText);
    return false;
}

bool loadReporting(const std::filesystem::path& fileName, const std::string& displayName,
                   std::size_t largestValidSize, const FileDecoder& decode,
                   const std::string& invalidText, UserMessages& messages) {
    const FileRead read = readFileOfKind(fileName, largestValidSize);
    if (read.status == ReadStatus::CannotOpen) {
        messages.error("Nie je mozne otvorit subor: " + displayName);
        return false;
    }
    try {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        decode(read.content);
    } catch (const InvalidFile&) {
        messages.error(invalidText);
        return false;
    }
    return true;
}

}  // namespace

bool writeUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                   std::span<const std::uint8_t> bytes, UserMessages& messages) {
    return reportReplacement(replaceFileAtomically(fileName, bytes),
                             "Nie je mozne otvorit subor: " + displayName,
                             "Neplatny subor: " + displayName, messages);
}

bool loadUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                  std::size_t largestValidSize, const FileDecoder& decode, UserMessages& messages) {
    return loadReporting(fileName, displayName, largestValidSize, decode,
                         "Neplatny subor: " + displayName, messages);
}

bool loadOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                 std::size_t largestValidSize, const FileDecoder& decode, UserMessages& messages) {
    return loadReporting(folder / fileName, fileName, largestValidSize, decode, "Neplatny subor",
                         messages);
}

bool replaceOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                    const std::string& temporaryName, std::span<const std::uint8_t> bytes,
                    const std::string& failureText, UserMessages& messages) {
    return reportReplacement(
        replaceFileAtomically(folder / fileName, folder / temporaryName, bytes),
        "Nie je mozne ukladat do suboru: " + temporaryName, failureText, messages);
}
