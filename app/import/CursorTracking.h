#pragma once

#include <cstdint>

// The two reference cursors of an import display (point indexes; the stretch runs from the
// smaller to the larger).
struct CursorPair {
    std::int32_t first = 0;
    std::int32_t second = 0;
};

// Keeps the two displays of the two-channel import dialog equal: `other` takes the distance of
// `moved`, starting at its own smaller cursor and keeping its cursor order. A pair that would
// run past the end of the other record is shifted back to end there, but never before point 0.
// The end is the position the dialog opens with, the point count, so that two records of one
// length keep cutting stretches of one length even when a pair spans a whole record.
CursorPair matchCursorDistance(CursorPair moved, CursorPair other, std::int32_t otherPointCount);

// the distance between the cursors, as the dialogs show it (+ " pix")
std::int32_t cursorDistance(CursorPair pair);
