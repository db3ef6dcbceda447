#pragma once

#include <cstdint>

#include "digital/DigitalMacro.h"

class MacroValueDialog;

// Plays the entry's template step `position` into step s of the wave: each element's value goes
// to the wave signal it is assigned to (cut to the target's width, upper bits 0 when narrower).
void applyMacroStep(const TDigitalMacro& entry, TDigitalWave& wave, std::int32_t step);

// Fills the newly appended step s from the running queue, in queue order: an entry plays its
// next template step unless an earlier entry drives one of its signals in this step; the first
// step of a cycle takes the cycle's value (asked, kept, counted or read from the value file);
// entries that played their last cycle leave the queue. `dialog` may be absent when no entry
// asks. Returns true when the value dialog was shown.
bool expandStep(TDigitalWave& wave, MacroQueue& queue, std::int32_t step, MacroValueDialog* dialog);

// Steps still needed to empty the queue, counting whole remaining cycles of entries that follow
// each other on shared signals (0 for an empty queue).
std::int64_t estimateFinishSteps(const MacroQueue& queue, const TDigitalWave& wave);
