#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The hand editor's drawing tools, on the points of the waveform being drawn. The mouse comes
// in as the point index and sample value under the pointer (not limited to the record or to
// 1..255: every index is limited to the record and every value written to 1..255 here).
//
// A stroke runs from a press to its release; the caller keeps the stroke copy, the points as
// they were when the stroke began, and hands it in so that a preview can be taken back.
//
// - Pen: every move sets the points from the previous index to the new one to the new value.
//   Without backtrack the pen never goes back behind the furthest point of the stroke: a move
//   to an earlier point continues at the point after the furthest one.
// - Line: the straight line from the press to the pointer, shown while dragging and left on
//   release.
// - Curve: a first drag sets two points as the line does; a second drag sets a third, and the
//   points between the outermost of the three become the parabola through them (nothing is
//   drawn while two of them share an index). Both drags are one stroke.
enum class HandTool { None, Pen, Line, Curve };

class HandDrawing {
public:
    using Points = std::vector<std::uint8_t>;

    HandTool tool() const { return tool_; }
    // Ends whatever stroke or curve was under way.
    void setTool(HandTool tool);
    bool allowBacktrack() const { return allowBacktrack_; }
    void setAllowBacktrack(bool on) { allowBacktrack_ = on; }

    // The next press begins a new stroke, so the caller takes the stroke copy before it; false
    // for the second drag of a curve, which continues the curve's stroke.
    bool pressStartsStroke() const { return !curveHalfDone_; }
    // A press is being followed.
    bool drawing() const { return drawing_; }
    // A curve has its first two points and waits for the third.
    bool curveHalfDone() const { return curveHalfDone_; }

    void press(Points& points, const Points& strokeCopy, int index, int value);
    // Only while the button is held.
    void move(Points& points, const Points& strokeCopy, int index, int value);
    // True when the stroke is complete (false after the first drag of a curve).
    bool release(Points& points, const Points& strokeCopy, int index, int value);

    // The stroke copy was put back: a curve under way starts again.
    void strokeUndone();

private:
    struct Point {
        int index = 0;
        int value = 0;
    };

    void drawLine(Points& points, const Points& strokeCopy, Point to);
    void drawCurve(Points& points, const Points& strokeCopy, Point third);
    // Puts back the points of the last preview from the stroke copy.
    void takeBackPreview(Points& points, const Points& strokeCopy);

    HandTool tool_ = HandTool::None;
    bool allowBacktrack_ = false;
    bool drawing_ = false;
    bool curveHalfDone_ = false;

    // Pen.
    int previous_ = 0;
    int furthest_ = 0;
    // Line and curve: the first two points, and the indices the last preview wrote.
    Point first_;
    Point second_;
    std::optional<std::pair<int, int>> preview_;
};
