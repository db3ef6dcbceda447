#pragma once

#include <optional>
#include <string>

#include "waves/GalleryRules.h"

// The hand editor's read-outs of its display's cursors and of the pointer, at the output
// frequency and level of the channel for which the gallery was opened. The cursor distances
// read as the gallery's large display does in its plain view (every point shown); the pointer's
// read-outs say where the point under the pointer lies against the cursors while drawing.

struct HandCursorInput {
    GalleryCursorInput cursors;  // displayStep 1, no absolute voltage
    // The point index and sample value under the pointer, once it has been over the display.
    std::optional<int> pointerIndex;
    std::optional<int> pointerValue;
};

struct HandReadout {
    GalleryReadout cursors;
    std::string pointToRedV;   // time from the red vertical cursor to the pointer
    std::string pointToRedH;   // voltage from the red horizontal cursor to the pointer
    std::string pointToBlueH;  // voltage from the blue horizontal cursor to the pointer
    std::string redToStart;    // time from the start of the period to the red vertical cursor
    std::string blueToStart;   // the same for the blue vertical cursor
};

HandReadout handCursorReadout(const HandCursorInput& input);
