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
