#pragma once

#include "core/ByteStream.h"
#include "waves/WaveformRecord.h"

// The byte encoding of one record, the same in "Waves.dat" and in ".gaw": name, imported,
// point count and samples, optionsKind, generatorKind, parameter count and parameters, then
// maxSample, minSample, meanSample, peakToPeak, harmonicCount (the mean before the
// peak-to-peak value). The statistics are taken as stored, never recomputed.

void writeRecord(ByteWriter& out, const WaveformRecord& record);

// Raises InvalidFile when the data ends early, a count is negative, a point count is above
// 262144, a parameter block is larger than any editor's or the name is longer than 1024
// characters. A name of 256 to 1024 characters is cut to 255.
WaveformRecord readRecord(ByteReader& in);

// The most bytes one record can take.
inline constexpr std::size_t kLargestRecordSize = kLargestStoredStringSize + 1 + 4 +
                                                  kMaxRecordPointCount + 4 + 4 + 4 +
                                                  kMaxParamCount + 4 + 4 + 8 + 4 + 4;
