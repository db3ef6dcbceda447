#pragma once

#include "core/ByteStream.h"
#include "digital/DigitalMacro.h"
#include "digital/DigitalWaveBlock.h"

// The macro block: the encoding of one macro in "DMacros.dat", ".gma" files and the running
// queue of a ".gdw" file.
void writeMacroBlock(ByteWriter& out, const TDigitalMacro& macro);

// Reads one block into the macro (its template and bindings cleared first). Raises InvalidFile
// for a bad tag, a bad template block, a value source above 4, a value width above 3, a
// negative binding count, more bindings than the template has cells (16 signals by its length)
// or data that ends early.
void readMacroBlock(ByteReader& in, TDigitalMacro& macro);

// The most bytes one block can take: a template of 262144 steps with every cell bound.
inline constexpr std::size_t kLargestMacroBindingCount =
    std::size_t{kMaxSignals} * std::size_t{kMaxWaveLength};
inline constexpr std::size_t kLargestMacroBlockSize =
    (4 + 5) + 2 * kLargestStoredStringSize + kLargestWaveBlockSize + 16 + 4 * 4 + 1 + 1 + 4 + 4 +
    16 * kLargestMacroBindingCount + (4 + 9);
