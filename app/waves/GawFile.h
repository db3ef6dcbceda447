#pragma once

#include <filesystem>

#include "core/UserMessages.h"
#include "waves/RecordEncoding.h"
#include "waves/WaveformRecord.h"

// A ".gaw" file holds exactly one record and nothing after it. Both functions report every
// failure in an error box (the file name as given appears in the text) and return false.

inline constexpr std::size_t kLargestGawFile = kLargestRecordSize;

// Replaces the file with the record through a temporary beside it; when anything fails the
// old file stays as it was ("Nie je mozne otvorit subor: " when the file cannot be created or
// is a folder, "Neplatny subor: " when writing fails).
bool exportRecord(const WaveformRecord& record, const std::filesystem::path& fileName,
                  UserMessages& messages);

// Reads the record into target; target is unchanged when reading fails or, with
// require16384 (loading into a gallery slot), when the record does not have 16384 points.
bool importRecord(WaveformRecord& target, const std::filesystem::path& fileName, bool require16384,
                  UserMessages& messages);

// The record of a ".gaw" file's content; InvalidFile when it is not one (also when anything
// follows the record).
WaveformRecord decodeGaw(std::span<const std::uint8_t> content);
