#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "import/CursorTracking.h"
#include "waves/WaveformRecord.h"

// The stretch between the two reference cursors of an import dialog, made into an imported
// waveform: from cursor positions start < end it takes the points start ... end - 2
// (end - start - 1 points), so that cursors at 0 and at the point count + 1 take a whole
// record.

// The cut record: the source's name, `imported` 1, no options, generator or parameters, and
// its statistics. Points beyond the source are not taken.
WaveformRecord cutRecord(const WaveformRecord& source, CursorPair cursors);

// What "Ok" says about the stretch before cutting, or nothing when it can be cut: a stretch
// without points cannot be played, and the generator holds at most 262144 points.
std::optional<std::string> stretchProblem(CursorPair cursors);

// The second cursor, after one at 0, for a period of `period` points found by the search: one
// past the period, so that the cut holds the whole period and is played at the recorded rate.
std::int32_t periodEndCursor(std::int32_t period);
