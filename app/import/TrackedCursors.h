#pragma once

#include <cstdint>

#include "import/CursorTracking.h"

// "Track cursors" of the import dialogs: when one reference cursor of a tracked pair is moved,
// the other follows at the same distance. `moved` holds the new position of cursor `number`
// (1 or 2); the move is held back so that both cursors stay within 0 .. pointCount + 1, the
// positions a display allows.
CursorPair trackedPair(CursorPair before, CursorPair moved, int number, std::int32_t pointCount);
