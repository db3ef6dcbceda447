#pragma once

#include "digital/DigitalWave.h"

// "Up in list", "Down in list" and "Remove from list" of the two configuration dialogs. The
// step words do not change; only the order of the signals does.

// Swaps the signal at `index` with its neighbour (direction -1 up, +1 down). Returns the
// signal's new index, or -1 when there is no such neighbour.
int moveNet(TDigitalWave& nets, int index, int direction);

// Removes the signal at `index`; later signals move up. False for an index not in use.
bool removeNet(TDigitalWave& nets, int index);
