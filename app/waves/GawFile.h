#pragma once

#include <filesystem>

#include "core/UserMessages.h"
#include "waves/WaveformRecord.h"

// A ".gaw" file holds exactly one record. Both functions report every failure in an error box
// (the file name as given appears in the text) and return false.

// Replaces the file with the record.
bool exportRecord(const WaveformRecord& record, const std::filesystem::path& fileName,
                  UserMessages& messages);

// Reads the record into target; target is unchanged when reading fails or, with
// require16384 (loading into a gallery slot), when the record does not have 16384 points.
bool importRecord(WaveformRecord& target, const std::filesystem::path& fileName, bool require16384,
                  UserMessages& messages);

// The record of a ".gaw" file's content; InvalidFile when it is not one.
WaveformRecord decodeGaw(std::span<const std::uint8_t> content);
