// The hand editor's tools and its undo history, on plain point vectors.
#include "generators/HandDrawing.h"

#include <gtest/gtest.h>

#include "generators/HandReadouts.h"
#include "generators/HandUndoHistory.h"

namespace {

using Points = HandDrawing::Points;

// A stroke of one tool over a flat record of 128s: press, moves, release at the last point.
struct Stroke {
    explicit Stroke(HandTool tool, bool backtrack = false) {
        drawing.setTool(tool);
        drawing.setAllowBacktrack(backtrack);
    }
    bool draw(std::initializer_list<std::pair<int, int>> path) {
        if (drawing.pressStartsStroke()) strokeCopy = points;
        auto at = path.begin();
        drawing.press(points, strokeCopy, at->first, at->second);
        for (++at; at != path.end(); ++at)
            drawing.move(points, strokeCopy, at->first, at->second);
        const auto last = *(path.end() - 1);
        return drawing.release(points, strokeCopy, last.first, last.second);
    }

    HandDrawing drawing;
    Points points = Points(1000, 128);
    Points strokeCopy;
};

}  // namespace

// Without backtrack the editor's own test covers the pen; here the way back and the limits.
TEST(HandDrawing, PenWithBacktrackAndLimits) {
    Stroke back(HandTool::Pen, true);
    EXPECT_TRUE(back.draw({{100, 50}, {200, 60}, {150, 0}}));
    EXPECT_EQ(back.points[149], 60);
    EXPECT_EQ(back.points[150], 1) << "values limited to 1..255";
    EXPECT_EQ(back.points[200], 1);
    EXPECT_EQ(back.points[201], 128);

    Stroke outside(HandTool::Pen);
    outside.draw({{990, 40}, {5000, 40}});
    EXPECT_EQ(outside.points[999], 40) << "indices limited to the record";
}

TEST(HandDrawing, LineRoundsAndLimitsItsEnds) {
    Stroke line(HandTool::Line);
    EXPECT_TRUE(line.draw({{100, 100}, {400, 200}, {300, 300}}));
    EXPECT_EQ(line.points[200], 178) << "round(100 * 155 / 200 + 100) = round(177.5), even";
    EXPECT_EQ(line.points[300], 255) << "the end limited to 255 first";
    EXPECT_EQ(line.points[400], 128) << "the earlier preview taken back";

    Stroke dot(HandTool::Line);
    dot.draw({{10, 90}, {10, 70}});
    EXPECT_EQ(dot.points[10], 70);
}

TEST(HandDrawing, CurveIsTheParabolaThroughThreePoints) {
    Stroke curve(HandTool::Curve);
    EXPECT_FALSE(curve.draw({{100, 150}, {500, 150}})) << "two points: half a curve";
    EXPECT_EQ(curve.points[300], 150) << "shown as a line";
    EXPECT_FALSE(curve.drawing.pressStartsStroke());
    const Points start = curve.strokeCopy;

    // The third point on one of the others draws nothing; then the apex at 300.
    curve.drawing.press(curve.points, curve.strokeCopy, 500, 40);
    EXPECT_EQ(curve.points, start);
    curve.drawing.move(curve.points, curve.strokeCopy, 300, 50);
    EXPECT_TRUE(curve.drawing.release(curve.points, curve.strokeCopy, 300, 50));
    EXPECT_EQ(curve.points[100], 150);
    EXPECT_EQ(curve.points[300], 50);
    EXPECT_EQ(curve.points[500], 150);
    // y = 150 - 100 * (1 - ((i - 300) / 200)^2): at 200, 75.
    EXPECT_EQ(curve.points[200], 75);
    EXPECT_EQ(curve.points[400], 75);
    EXPECT_EQ(curve.points[501], 128);
    EXPECT_TRUE(curve.drawing.pressStartsStroke());

    // Undone between the two drags, the next press starts a new curve.
    Stroke again(HandTool::Curve);
    again.draw({{100, 150}, {500, 150}});
    again.drawing.strokeUndone();
    EXPECT_TRUE(again.drawing.pressStartsStroke());
}

TEST(HandUndoHistory, StepsBackAndForthThroughChanges) {
    HandUndoHistory history(2);
    const Points a(4, 1), b(4, 2), c(4, 3), d(4, 4);
    history.changed(a, b);
    history.changed(b, b);
    EXPECT_EQ(history.undoLevels(), 1u) << "no change, no step";
    history.changed(b, c);
    history.changed(c, d);
    EXPECT_EQ(history.undoLevels(), 2u) << "the oldest forgotten";

    EXPECT_EQ(history.undo(d), c);
    EXPECT_EQ(history.undo(c), b);
    EXPECT_FALSE(history.undo(b));
    EXPECT_EQ(history.redo(b), c);
    EXPECT_EQ(history.redo(c), d);
    EXPECT_FALSE(history.redo(d));

    EXPECT_EQ(history.undo(d), c);
    history.changed(c, a);
    EXPECT_FALSE(history.canRedo()) << "a new change forgets what could be redone";
    EXPECT_EQ(history.undo(a), c);
}

TEST(HandReadouts, PointerAgainstTheCursors) {
    HandCursorInput input;
    input.cursors.x1 = 4096;
    input.cursors.x2 = 8192;
    input.cursors.y1 = 100;
    input.cursors.y2 = 200;
    input.cursors.frequency = 1000;
    input.cursors.levelMillivolts = 2540;
    HandReadout none = handCursorReadout(input);
    EXPECT_EQ(none.pointToRedV, "N/A");
    EXPECT_EQ(none.redToStart, "250us");
    EXPECT_EQ(none.blueToStart, "500us");
    EXPECT_EQ(none.cursors.deltaX, "25%");

    input.pointerIndex = 0;
    input.pointerValue = 150;
    const HandReadout at = handCursorReadout(input);
    EXPECT_EQ(at.pointToRedV, "-250us");
    EXPECT_EQ(at.pointToRedH, "500mV");
    EXPECT_EQ(at.pointToBlueH, "-500mV");
}
