#pragma once

#include <cstdint>

#include "waves/WaveformRecord.h"
#include "waves/WaveformStore.h"

// Rebuilds slots 1 to 5 ("Sine", "Saw", "Triangle", "Square" with its 50/50 shares, "Noise")
// and computes their statistics; the other slots are not touched. The noise comes from a
// generator seeded with noiseSeed, or from a random seed.
void resetPredefined(WaveformStore& store);
void resetPredefined(WaveformStore& store, std::uint32_t noiseSeed);

// What the gallery puts into an empty slot before an editor opens it: "Untitled", 16384 points
// at 128 (0 V), with its statistics.
WaveformRecord untitledWaveform();
