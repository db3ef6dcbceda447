#pragma once

#include <optional>
#include <string>

// The texts of the main window's cursor read-outs, computed from the cursor positions of a
// waveform display and the generator's present setting. Plain functions, so that the formulas
// are tested without a window.

// Cursor positions of one display: x as point indices, y and the zero line as sample values.
struct CursorPositions {
    int x1 = 0;
    int x2 = 0;
    int y1 = 0;
    int y2 = 0;
    int zero = 128;
};

// One channel's level: the full-scale peak-to-peak level in mV at the present level code, and
// the peak-to-peak of the channel's waveform in sample steps.
struct ChannelLevel {
    double levelMillivolts = 0;
    int peakToPeak = 0;
};

// The six texts of one display. deltaXFrequency is empty when the time is zero: the label
// then keeps the text it had.
struct CursorReadout {
    std::string deltaX;
    std::string deltaXTime;
    std::optional<std::string> deltaXFrequency;
    std::string deltaY;
    std::string deltaYVolts;
    std::string deltaYAbsolute;
};

// Analog display of a 16384-point period played at `frequency` (Hz). For channel A pass
// octaveFactor 1 and multiplier 1: only channel B's time depends on them.
CursorReadout analogCursorReadout(const CursorPositions& cursors, const ChannelLevel& level,
                                  double frequency, int octaveFactor = 1, int multiplier = 1);

// Import display of a record of pointCount points played at tickFrequency (Hz).
CursorReadout importCursorReadout(const CursorPositions& cursors, const ChannelLevel& level,
                                  double tickFrequency, int pointCount);

// Repetition frequency of an imported record; empty when it cannot be computed.
std::optional<std::string> importRepetitionText(double tickFrequency, int pointCount);

// Channel-B phase in degrees with one decimal, from points of the 16384-point period.
std::string phaseDegreesText(int phasePoints);

// The typed phase in degrees ("," accepted as the point) as points of the period, truncated;
// empty when the text is not a number.
std::optional<int> phasePointsFromText(const std::string& text);

// True when the point lies inside the rectangle with at least one pixel to spare on each side
// (a point on the outermost pixels counts as outside).
bool insideWithMargin(int x, int y, int left, int top, int width, int height);
