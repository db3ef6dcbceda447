#pragma once

#include <cstdint>
#include <string_view>

#include "digital/DigitalWave.h"
#include "digital/StepEvents.h"

class ProgressReporter;

// Inserting and deleting steps at the cursor ("Insert step", "Delete step", "Ins steps",
// "Del steps"). Inserted steps are plain copies: clocks and running macros take no part.

// Duplicates the cursor step and moves the cursor onto the copy; on an empty wave the first step
// is 0. Nothing without signals. Raises "Waveform too long" before anything changes at 262144
// steps. True when a step was inserted.
bool insertStep(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events);

// Removes the cursor step; the cursor stays, or moves to the new last step (-1 when the wave is
// empty). Nothing without signals or steps. True when a step was deleted.
bool deleteStep(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events);

// countText steps (see parseStepCount) with progress and "Break".
void insertSteps(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events,
                 std::string_view countText, double tickFrequency, ProgressReporter& progress);
void deleteSteps(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events,
                 std::string_view countText, double tickFrequency, ProgressReporter& progress);
