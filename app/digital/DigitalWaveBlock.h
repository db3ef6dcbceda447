#pragma once

#include "core/ByteStream.h"
#include "digital/DigitalWave.h"

// The digital wave block: the encoding of a wave inside "DWave.dat", ".gdw" files and every
// macro block.
void writeWaveBlock(ByteWriter& out, const TDigitalWave& wave);

// Reads one block into the wave (cleared first; left cleared on failure). Raises InvalidFile for
// a bad tag, a length above the capacity, a capacity above 262144 steps, more than 16 signals, a
// width of 0 or above 16, a pin mask that is not a single line, or data that ends early.
void readWaveBlock(ByteReader& in, TDigitalWave& wave);

// The most bytes one block can take: its tags, the counts, 262144 step words and 16 signals of
// 16 pins with the longest names.
inline constexpr std::size_t kLargestSignalRecordSize =
    kLargestStoredStringSize + 1 + 4 * kMaxSignalWidth + 1 + 4 + 4;
inline constexpr std::size_t kLargestWaveBlockSize =
    (4 + 12) + 4 + 4 + 2 * std::size_t{kMaxWaveLength} + 4 +
    kMaxSignals * kLargestSignalRecordSize + (4 + 16);
