#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "panels/WavePhase.h"
#include "panels/WaveTrace.h"
#include "panels/WaveView.h"

namespace {

// A display lastX + 1 pixels wide and 100 high on a 16384-point record, whole record shown.
WaveView viewOf(int lastX, int points = 16384) {
    WaveView view;
    resizeView(view, lastX, 99, points - 1);
    zoomFull(view);
    setValueRange(view, 128);
    return view;
}

std::vector<std::uint8_t> sine() {
    std::vector<std::uint8_t> points(16384);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = static_cast<std::uint8_t>(std::lround(std::sin(i * M_PI / 8192) * 127 + 128));
    return points;
}

// A sine of many periods: neighbouring columns cover different values.
std::vector<std::uint8_t> fastSine(int periods) {
    std::vector<std::uint8_t> points(16384);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = static_cast<std::uint8_t>(
            std::lround(std::sin(i * 2 * M_PI * periods / 16384) * 127 + 128));
    return points;
}

std::vector<std::uint8_t> noise() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(1, 255);
    std::vector<std::uint8_t> points(16384);
    for (std::uint8_t& point : points)
        point = static_cast<std::uint8_t>(value(random));
    return points;
}

TEST(WaveViewZoom, OutAtTheWholeRecordAndBackToOneToOne) {
    WaveView view = viewOf(331);
    zoomOut(view);
    EXPECT_EQ(view.firstIndex, 0);
    EXPECT_EQ(view.lastIndex, 16383);
    EXPECT_EQ(zoomLabel(view), "");

    ASSERT_TRUE(zoomMax(view, 100));  // near the start: pushed inside
    EXPECT_EQ(view.firstIndex, 0);
    EXPECT_EQ(view.xSpan(), 331);
    EXPECT_EQ(zoomLabel(view), "Zoom 1:1");
    zoomOut(view);
    EXPECT_EQ(view.lastIndex, 331 + 165);
    EXPECT_EQ(zoomLabel(view), "Zoom 1:1.5");
    overZoom(view, 16383);
    EXPECT_EQ(view.lastIndex, 16383);
    EXPECT_EQ(view.xSpan(), 331 / 32);
    EXPECT_EQ(zoomLabel(view), "Over zoomed");
    // No further zoom in once fewer points than pixels are shown.
    EXPECT_FALSE(zoomToRange(view, 16380, 16383));
    zoomFull(view);
    EXPECT_EQ(view.firstIndex, 0);
    EXPECT_EQ(view.lastIndex, 16383);
    EXPECT_EQ(zoomLabel(view), "");
}

TEST(WaveViewZoom, NarrowRangeIsWidenedToOnePointPerPixel) {
    WaveView view = viewOf(499);
    ASSERT_TRUE(zoomToRange(view, 1009, 1000));
    EXPECT_EQ(view.firstIndex, 510);
    EXPECT_EQ(view.lastIndex, 1009);
    zoomFull(view);
    ASSERT_TRUE(zoomToRange(view, 3, 12));
    EXPECT_EQ(view.firstIndex, 0);
    EXPECT_EQ(view.lastIndex, 499);
    zoomFull(view);
    ASSERT_TRUE(zoomToRange(view, 2000, 9000));
    EXPECT_EQ(view.firstIndex, 2000);
    EXPECT_EQ(view.lastIndex, 9000);
}

TEST(WaveViewRange, ZeroMarkOutsideTheSamplesWidensTheValues) {
    WaveView view = viewOf(331);
    setValueRange(view, -10);
    EXPECT_EQ(view.minValue, -10);
    EXPECT_EQ(view.maxValue, 255);
    EXPECT_EQ(view.bottomValue, -10);
    setValueRange(view, 0);
    EXPECT_EQ(view.minValue, 1);
    EXPECT_EQ(view.maxValue, 255);
    setValueRange(view, 300);
    EXPECT_EQ(view.topValue, 300);
}

TEST(WaveViewPan, KeepsThePressedPointUnderThePointerWithinTheRecord) {
    WaveView view = viewOf(499);
    panView(view, 5000, 128, 0, 50);  // the whole record cannot move
    EXPECT_EQ(view.firstIndex, 0);
    ASSERT_TRUE(zoomToRange(view, 1000, 1999));
    // Pressed at index 1500 in the middle, dragged to the left edge.
    panView(view, 1500, 128, 0, 50);
    EXPECT_EQ(view.firstIndex, 1500);
    EXPECT_EQ(view.xSpan(), 999);
    panView(view, 1500, 128, 499, 50);
    EXPECT_EQ(view.firstIndex, 501);
    panView(view, 0, 128, 499, 50);
    EXPECT_EQ(view.firstIndex, 0);
}

TEST(RealView, StepFourRepeatsA4096PointPeriod) {
    const std::vector<std::uint8_t> source = sine();
    const std::vector<std::uint8_t> shown = realView(source, 4);
    ASSERT_EQ(shown.size(), source.size());
    for (std::size_t j = 4096; j < shown.size(); ++j)
        ASSERT_EQ(shown[j], shown[j - 4096]) << j;
    // The quarter period of the sine is played at the rate of the whole.
    EXPECT_EQ(shown[1024], source[4096 + 0]);
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 255);
    EXPECT_EQ(*std::min_element(shown.begin(), shown.end()), 1);
    EXPECT_EQ(realView(source, 1), source);
}

TEST(RealView, GroupsKeepTheirExtremeAwayFromTheMean) {
    const std::vector<std::uint8_t> source{1, 255, 128, 129, 200, 200};  // mean 152.2
    EXPECT_EQ(realView(source, 2), (std::vector<std::uint8_t>{1, 128, 200, 1, 128, 200}));
    // (200 - 176.3) (200 - 152.2) / (255 - 152.2) + 176.3
    EXPECT_EQ(realView(source, 3)[1], 187);
    // The second group of four wraps to the start: {200, 200, 1, 255}.
    EXPECT_EQ(realView(source, 4), (std::vector<std::uint8_t>{1, 255, 1, 255, 1, 255}));
}

TEST(DenseDetection, NoiseTurnsBackWithinTwoColumnsAndASineDoesNot) {
    EXPECT_TRUE(isDense(noise(), 16383, 331));
    EXPECT_FALSE(isDense(sine(), 16383, 331));
    // One point per pixel or fewer: nothing is dense.
    EXPECT_FALSE(isDense(noise(), 300, 331));
}

TEST(Trace, EnvelopeColumnsStayConnected) {
    const WaveView view = viewOf(99);
    const std::vector<TraceColumn> columns =
        traceColumns(fastSine(40), view, 0, TraceStyle::Envelope);
    ASSERT_EQ(columns.size(), 100u);
    for (std::size_t x = 1; x < columns.size(); ++x) {
        EXPECT_LE(columns[x].top, columns[x].bottom);
        EXPECT_LE(columns[x].top, columns[x - 1].bottom) << x;
        EXPECT_GE(columns[x].bottom, columns[x - 1].top) << x;
    }
}

TEST(Trace, LineRunsInvertEachPixelOnceAndJoinTheColumns) {
    const WaveView view = viewOf(99);
    const std::vector<TraceColumn> columns = traceColumns(fastSine(3), view, 0, TraceStyle::Line);
    EXPECT_EQ(columns[0].top, columns[0].bottom);
    for (std::size_t x = 1; x < columns.size(); ++x) {
        const TraceColumn& column = columns[x];
        const int before = columns[x - 1].pointRow;
        EXPECT_TRUE(column.top <= column.pointRow && column.pointRow <= column.bottom) << x;
        if (before == column.pointRow) continue;
        // Reaches the row next to the previous point without inverting that point again.
        EXPECT_TRUE(column.top == before + 1 || column.bottom == before - 1) << x;
    }
}

TEST(Trace, PhaseMovesThePointsAndWraps) {
    const WaveView view = viewOf(99);
    std::vector<std::uint8_t> points = sine();
    std::vector<std::uint8_t> rotated(points.size());
    std::rotate_copy(points.begin(), points.begin() + 4096, points.end(), rotated.begin());
    const auto a = traceColumns(points, view, 4096, TraceStyle::Envelope);
    const auto b = traceColumns(rotated, view, 0, TraceStyle::Envelope);
    const auto c = traceColumns(points, view, 4096 - 16384, TraceStyle::Envelope);
    for (std::size_t x = 0; x < a.size(); ++x) {
        EXPECT_EQ(a[x].top, b[x].top);
        EXPECT_EQ(a[x].bottom, c[x].bottom);
    }
}

TEST(Trace, OverZoomedColumnsMarkWherePointsBegin) {
    WaveView view = viewOf(99);
    overZoom(view, 5000);  // 4 points over 100 columns
    const auto columns = traceColumns(sine(), view, 0, TraceStyle::Line);
    const auto starts = std::count_if(columns.begin(), columns.end(),
                                      [](const TraceColumn& c) { return c.pointStarts; });
    EXPECT_EQ(starts, view.xSpan() + 1);
    EXPECT_TRUE(traceColumns({}, view, 0, TraceStyle::Line).empty());
}

TEST(Phase, RoundedToTheQuantumAndWrappedIntoTheHalfRange) {
    EXPECT_EQ(wrapPhase(8192, 0, 16383), -8191);
    EXPECT_EQ(wrapPhase(8191, 0, 16383), -8191);
    EXPECT_EQ(wrapPhase(8190, 0, 16383), 8190);
    EXPECT_EQ(wrapPhase(-9000, 0, 16383), 7383);
    EXPECT_EQ(wrapPhase(16383 * 5 + 7, 0, 16383), 7);
    EXPECT_EQ(roundPhase(5, 4), 4);
    EXPECT_EQ(roundPhase(6, 4), 8);
    EXPECT_EQ(roundPhase(10, 4), 8);  // 2.5 quanta: ties to even
    EXPECT_EQ(roundPhase(-6, 4), -8);
}

TEST(Phase, LabelNamesTheDelayOfChannelB) {
    EXPECT_EQ(phaseLabel(0, 1000, 1), "No phase shift");
    EXPECT_EQ(phaseLabel(-1638, 1000, 1), "Phase: 99.98us");
    EXPECT_EQ(phaseLabel(1638, 1000, 1), "Phase: -99.98us");
    EXPECT_EQ(phaseLabel(1638, 1000, 2), "Phase: -49.99us");
}

}  // namespace
