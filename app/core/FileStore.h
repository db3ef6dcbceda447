#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Reading and safely replacing the files the application keeps for itself.

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

enum class ReplaceResult {
    Replaced,
    CannotCreateTemporary,  // the target is untouched
    WriteFailed,            // writing, flushing or renaming failed; the target is untouched
};

// Writes bytes to `temporary` (removed first if it exists), flushes it to disk and renames it
// over `target`, so that a crash at any moment leaves either the old or the new file whole.
ReplaceResult replaceFileAtomically(const std::filesystem::path& target,
                                    const std::filesystem::path& temporary,
                                    std::span<const std::uint8_t> bytes);

// Writes a file of the user's choice (an export) directly; false when it cannot be created or
// written.
bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
