#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class UserMessages;

// The file handling shared by the digital files, with the operator's messages.

// Writes a file of the user's choice ("X.gdw", "Export/A.gma") through a temporary beside it,
// so that a failed write never loses the old file. Messages: "Nie je mozne otvorit subor: " +
// displayName when it cannot be created, "Neplatny subor: " + displayName when writing fails.
bool writeUserFile(const std::filesystem::path& fileName, const std::string& displayName,
                   std::span<const std::uint8_t> bytes, UserMessages& messages);

// Reads a whole file; "Nie je mozne otvorit subor: " + displayName when it cannot be read.
std::optional<std::vector<std::uint8_t>> readUserFile(const std::filesystem::path& fileName,
                                                      const std::string& displayName,
                                                      UserMessages& messages);

// Reads one of the application's own files (folder / fileName) and hands it to decode.
// Messages: "Nie je mozne otvorit subor: " + fileName when it cannot be read, "Neplatny subor"
// when decode raises InvalidFile.
bool loadOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                 const std::function<void(std::span<const std::uint8_t>)>& decode,
                 UserMessages& messages);

// Replaces one of the application's own files (folder / fileName) through folder /
// temporaryName. Messages: "Nie je mozne ukladat do suboru: " + temporaryName when the
// temporary cannot be created, failureText when writing or replacing fails.
bool replaceOwnFile(const std::filesystem::path& folder, const std::string& fileName,
                    const std::string& temporaryName, std::span<const std::uint8_t> bytes,
                    const std::string& failureText, UserMessages& messages);
