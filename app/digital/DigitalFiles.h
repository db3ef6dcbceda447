#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

class UserMessages;

// The file handling shared by the digital files, with the operator's messages.

// Reads a file's content into the caller's data; raises InvalidFile when it is not valid.
using FileDecoder = std::function<void(std::span<const std::uint8_t>)>;

// Writes a file of the user's choice ("X.gdw", "Export/A.gma") through a temporary of a unique
// name beside it, so that a failed write never loses the old file. Messages: "Nie je mozne
// otvorit subor: " + displayName when it cannot be created (or names a folder), "Neplatny
// subor: " + displayName when writing fails.
bool writeUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                   std::span<const std::uint8_t> bytes, UserMessages& messages);

// Reads a whole file of the user's choice and hands it to decode. Messages: "Nie je mozne
// otvorit subor: " + displayName when it cannot be read or is not a regular file, "Neplatny
// subor: " + displayName when it is larger than `largestValidSize` or decode raises
// InvalidFile.
bool loadUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                  std::size_t largestValidSize, const FileDecoder& decode, UserMessages& messages);

// Reads one of the application's own files (folder / fileName) and hands it to decode.
// Messages: "Nie je mozne otvorit subor: " + fileName when it cannot be read, "Neplatny subor"
// when it is too large or decode raises InvalidFile.
bool loadOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                 std::size_t largestValidSize, const FileDecoder& decode, UserMessages& messages);

// Replaces one of the application's own files (folder / fileName) through folder /
// temporaryName. Messages: "Nie je mozne ukladat do suboru: " + temporaryName when the
// temporary cannot be created, failureText when writing or replacing fails.
bool replaceOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                    const std::string& temporaryName, std::span<const std::uint8_t> bytes,
                    const std::string& failureText, UserMessages& messages);
