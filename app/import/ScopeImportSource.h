#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "core/UserMessages.h"
#include "import/ScopeFileRecognition.h"
#include "waves/WaveformRecord.h"

// What "Import from scope" takes from an oscilloscope data file of either format: each recorded
// channel as a whole record, with what its level and shift are set from, and the sample rate.

struct ScopeChannelSource {
    int channel = 0;  // 0 A, 1 B: where the file recorded it
    WaveformRecord record;
    double rangeMillivolts = -1;  // full-scale range of the recording; -1 when not known
    double ground = 128;          // the sample value recorded for 0 V
};

struct ScopeImportSource {
    ScopeFileKind kind = ScopeFileKind::Q726;
    double sampleRate = -1;  // samples per second; -1 (or 0) when not known
    // One entry per recorded channel, A before B.
    std::vector<ScopeChannelSource> channels;
};

// Reads the file; a file that cannot be opened or is not valid has been reported in an error
// box ("Neplatny subor: " + file name) and gives nothing. The records carry the file's name
// without its folder.
std::optional<ScopeImportSource> readScopeImport(const std::filesystem::path& fileName,
                                                 UserMessages& messages);
