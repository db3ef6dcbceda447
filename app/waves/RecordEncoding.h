#pragma once

#include "core/ByteStream.h"
#include "waves/WaveformRecord.h"

// The byte encoding of one record, the same in "Waves.dat" and in ".gaw": name, imported,
// point count and samples, optionsKind, generatorKind, parameter count and parameters, then
// maxSample, minSample, meanSample, peakToPeak, harmonicCount (the mean before the
// peak-to-peak value). The statistics are taken as stored, never recomputed.

void writeRecord(ByteWriter& out, const WaveformRecord& record);

// Raises InvalidFile when the data ends early, a count is negative, a point count is above
// 262144 or the name is longer than 1024 characters. A name of 256 to 1024 characters is cut
// to 255.
WaveformRecord readRecord(ByteReader& in);
