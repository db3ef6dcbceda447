#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "digital/DigitalWave.h"

// The layout of the digital sequence display, in pixels of its picture (origin top left): a
// header band of time labels, one 20-pixel row per signal, the name column (x 0 to 69), the
// value column (x 70 to 105), the plot of the steps (x 106 to plotRight) and the kind column
// right of it. Painting and mouse handling both read positions from here.
namespace digitaldisplay {

inline constexpr int kRowPitch = 20;
inline constexpr int kNameColumnRight = 70;
inline constexpr int kNameTextLeft = 5;
inline constexpr int kNameTextWidth = 65;
inline constexpr int kValueCentre = 88;
inline constexpr int kValueSeparator = 105;
inline constexpr int kPlotLeft = 106;
inline constexpr int kKindColumnWidth = 41;
inline constexpr int kClockButtonsWidth = 10;
inline constexpr int kMinPixelsPerStep = 2;
inline constexpr int kMaxPixelsPerStep = 128;
inline constexpr int kStartPixelsPerStep = 32;
// Where the first time label may start: labels keep this far right of the previous one.
inline constexpr int kFirstLabelEdge = 50;
inline constexpr int kLabelGap = 5;
inline constexpr int kDurationTriangle = 6;

}  // namespace digitaldisplay

// Width in pixels of a text in the display's font.
using TextWidth = std::function<int(const std::string&)>;

class DigitalDisplayGeometry {
public:
    DigitalDisplayGeometry() = default;
    DigitalDisplayGeometry(int pictureWidth, int pictureHeight)
        : width(pictureWidth), height(pictureHeight) {}

    int width = 0;
    int height = 0;
    int pixelsPerStep = digitaldisplay::kStartPixelsPerStep;
    std::int32_t firstStep = 0;

    int plotRight() const { return width - digitaldisplay::kKindColumnWidth; }
    // Whole steps that fit the plot.
    int visibleSteps() const;
    int stepX(std::int32_t step) const;
    // The step under x (rounding towards the left, also left of the plot).
    std::int32_t stepAt(int x) const;

    // Top of visible row r (row 0 lies just below the header band).
    static int rowTop(int row) { return digitaldisplay::kRowPitch * (row + 1); }
    // The visible row under y; -1 in the header band.
    static int rowAt(int y);
    // Rows whose bottom boundary lies at least 21 pixels above the picture's bottom.
    int visibleRows() const;
    // The low and high levels of a trace in row r.
    static int lowLevel(int row) { return rowTop(row) + 18; }
    static int highLevel(int row) { return lowLevel(row) - 16; }

    // Keeps the last step in view when the view would pass the end, and the start at 0.
    void limitFirstStep(std::int32_t length);
    // The horizontal scroll bar's maximum; negative when the whole wave fits (bar disabled).
    std::int32_t scrollMaximum(std::int32_t length) const { return length - visibleSteps(); }
    // Twice the pixels per step, up to 128. With the cursor on the last step the end of the
    // wave stays in view. False when already at 128.
    bool zoomIn(std::int32_t cursor, std::int32_t length);
    // Half the pixels per step, down to 2. False when already at 2.
    bool zoomOut(std::int32_t length);

    // The last step drawn: the steps from firstStep to firstStep + visibleSteps that exist
    // (the last one cut at plotRight); firstStep - 1 when none exists.
    std::int32_t lastDrawnStep(std::int32_t length) const;
};

// One written time of the selected signal in the header band, centred on its step.
struct TimeLabel {
    std::int32_t step = 0;
    int x = 0;  // the step's x, where the tick is drawn
    int left = 0;
    int width = 0;
    std::string text;
};

// The time between two written labels, after a small triangle that starts at `left`.
struct DurationLabel {
    int left = 0;
    int textLeft = 0;
    int width = 0;
    std::string text;
};

struct TimeLabels {
    std::vector<TimeLabel> times;
    std::vector<DurationLabel> durations;
};

// The header band for the selected signal: at each step in view whose value differs from the
// step before it (step 0 counts as a change) the time step / frequency, when it starts more
// than 5 pixels right of the previous label and ends before plotRight; between two written
// labels their difference, when it fits with 5 pixels to spare. Nothing without a frequency.
TimeLabels placeTimeLabels(const DigitalDisplayGeometry& geometry, const TDigitalWave& wave,
                           int signal, double frequency, const TextWidth& textWidth);

// A run of equal values of a bus in view.
struct BusRun {
    std::int32_t first = 0;  // first step of the run in view (a cross is drawn before it)
    std::int32_t end = 0;    // one past its last step in view
    std::uint16_t value = 0;
    std::string text;  // "5h"
    bool labelFits = false;
};

// The runs of a bus over the drawn steps; the first step in view always starts a run. A run's
// value is written at its start + 3 when it fits: within the run less 5 pixels, or for the run
// that reaches the end of the view, before plotRight.
std::vector<BusRun> busRuns(const DigitalDisplayGeometry& geometry, const TDigitalWave& wave,
                            int signal, const TextWidth& textWidth);

// Texts of the display.
// The value at the cursor: "0"/"1" for a single line, "5h" for a bus.
std::string cursorValueText(const TSignal& signal, std::uint16_t word);
// "Seq   E" or "Clk3".
std::string kindText(const TSignal& signal);
// The cursor's step: "100pix".
std::string cursorStepText(std::int32_t cursor);
// A step's time: "100ms"; empty without a frequency.
std::string stepTimeText(std::int32_t step, double frequency);
// The measurement between cursor and marker: "20Hz, 50ms"; empty when they coincide or
// without a frequency.
std::string measurementText(std::int32_t cursor, std::int32_t marker, double frequency);
// The name in the name column: "DATA [0:7]" for a bus, cut from the end to maxWidth pixels.
std::string fittedName(const TSignal& signal, int maxWidth, const TextWidth& textWidth);

// Where the measurement text goes: centred between the cursor's and the marker's x, then
// pushed aside so that it keeps clear of the span [avoidLeft, avoidRight] that the cursor's
// labels take (to the other side when there is no room on its own), staying within
// [minLeft, maxRight]. Returns its left edge.
int measurementLeft(int cursorX, int markerX, int width, int avoidLeft, int avoidRight, int minLeft,
                    int maxRight);
