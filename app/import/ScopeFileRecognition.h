#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// The two oscilloscope data formats import mode reads. An R210 file is text with a line
// exactly "SettingsEnd"; every other file is taken for a Q726 file, whose reader decides
// whether it is valid.
enum class ScopeFileKind { CannotOpen, R210, Q726 };

// CannotOpen also for anything but a regular file; a file too large for either format is
// left to the Q726 reader, which refuses it.
ScopeFileKind recogniseScopeFile(const std::filesystem::path& fileName);
// The same for a file already read (never CannotOpen).
ScopeFileKind recogniseScopeContent(std::span<const std::uint8_t> content);
