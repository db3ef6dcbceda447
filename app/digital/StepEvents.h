#pragma once

#include <cstdint>
#include <functional>

// What the owner of an edited wave hears about its steps. The macro editor moves its cell
// bindings with the steps; the digital wave editor needs none of it.
struct StepEvents {
    // Before a step is inserted at (+1) or deleted from (-1) `position`.
    std::function<void(std::int32_t position, int direction)> onStepsShifted;
    // After step position + 1 was made a copy of step `position`.
    std::function<void(std::int32_t position)> onStepCopied;
};
