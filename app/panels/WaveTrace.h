#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "panels/WaveView.h"

// What a waveform display draws of its record: the record as the generator plays it, and the
// trace as one vertical run of pixels per column.

// The record as the generator plays it with a sample step of `step` points: each group of step
// points (the last one wrapping to the start) becomes one point that keeps the group's extreme
// where the group lies away from the mean, and the played period repeats over the record's
// length. A step below 2 or an empty record gives a plain copy.
std::vector<std::uint8_t> realView(std::span<const std::uint8_t> source, int step);

// The waveform turns back within about two screen columns at this zoom: two consecutive points
// differing by 2 or more reverse the previous such change within 2 * (xSpan / lastX) points.
bool isDense(std::span<const std::uint8_t> points, int xSpan, int lastX);

enum class TraceStyle {
    // Each column a line from the smallest to the largest value it covers, stretched to meet
    // the previous column's line.
    Envelope,
    // Each column the rounded mean of its values, joined to the previous column.
    Line,
};

// One column of the trace: the rows from top to bottom (either may lie outside the image), and
// whether a new point of the record begins in this column.
struct TraceColumn {
    int top = 0;
    int bottom = 0;
    int pointRow = 0;  // line style: the row of the column's own value
    bool pointStarts = false;
};

// The trace of the visible points, lastX + 1 columns. Every point index is moved by `phase`
// and wrapped into the record. No columns for an empty record.
std::vector<TraceColumn> traceColumns(std::span<const std::uint8_t> points, const WaveView& view,
                                      int phase, TraceStyle style);
