#pragma once

#include "digital/DigitalWave.h"

// "Explode" and "Implode": a bus becomes one single signal per line and back. The step words do
// not change; only the signal list does.

// Replaces the bus at `index` by single sequence signals named the bus name plus the bit as two
// digits (DATA00, DATA01, ...), in ascending bit order where the bus stood. False (nothing
// changes) when the signal is no bus or the signals would not fit the 16 places.
bool explodeBus(TDigitalWave& wave, int index);

// A single signal can be imploded when its name has at least three characters ending in two
// decimal digits n, and the single signals with the same base (the name without them, compared
// exactly) and a two-digit number are numbered 0 to k without gaps or repeats. A bus or a
// number above 15 in the group stops the implosion.
bool canImplode(const TDigitalWave& wave, int index);

// Replaces the group of the single signal at `index` by a sequence bus named after the base,
// whose pin n drives the line of the signal numbered n; the bus stands where the selected signal
// stood. Returns the bus's index, or -1 (nothing changes) when the signal cannot be imploded.
int implodeSignal(TDigitalWave& wave, int index);
