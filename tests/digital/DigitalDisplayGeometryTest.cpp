#include <gtest/gtest.h>

#include "DigitalBuilders.h"
#include "digital/DigitalDisplayGeometry.h"

namespace {

// Every character 6 pixels wide.
int fixedWidth(const std::string& text) {
    return 6 * static_cast<int>(text.size());
}

TEST(DisplayGeometry, PlotOfTheEditorsPicture) {
    DigitalDisplayGeometry geometry(777, 288);
    EXPECT_EQ(geometry.plotRight(), 736);
    EXPECT_EQ(geometry.plotRight() - digitaldisplay::kPlotLeft, 630);
    EXPECT_EQ(geometry.visibleSteps(), 19);
    EXPECT_EQ(geometry.visibleRows(), 12);
    geometry.pixelsPerStep = 2;
    EXPECT_EQ(geometry.visibleSteps(), 315);
    geometry.firstStep = 10;
    EXPECT_EQ(geometry.stepX(12), 110);
    EXPECT_EQ(geometry.stepAt(111), 12);
    EXPECT_EQ(geometry.stepAt(104), 9) << "left of the plot counts towards the left";
    EXPECT_EQ(DigitalDisplayGeometry::rowAt(19), -1);
    EXPECT_EQ(DigitalDisplayGeometry::rowAt(45), 1);
}

TEST(DisplayGeometry, ZoomStopsAtItsLimitsAndKeepsTheEndInView) {
    DigitalDisplayGeometry geometry(777, 288);
    geometry.pixelsPerStep = 128;
    EXPECT_FALSE(geometry.zoomIn(99, 100));
    EXPECT_EQ(geometry.pixelsPerStep, 128);
    geometry.pixelsPerStep = 2;
    geometry.firstStep = 7;
    EXPECT_FALSE(geometry.zoomOut(1000));
    EXPECT_EQ(geometry.firstStep, 7);

    geometry.pixelsPerStep = 32;
    geometry.firstStep = 0;
    ASSERT_TRUE(geometry.zoomIn(99, 100));  // cursor on the last step
    EXPECT_EQ(geometry.pixelsPerStep, 64);
    EXPECT_EQ(geometry.firstStep, 100 - geometry.visibleSteps());
    ASSERT_TRUE(geometry.zoomOut(100));
    EXPECT_EQ(geometry.firstStep, 100 - 19) << "limited to the end of the wave";
}

TEST(DisplayGeometry, ShortWaveStaysAtItsStartWithTheBarDisabled) {
    DigitalDisplayGeometry geometry(777, 288);
    geometry.firstStep = 3;
    geometry.limitFirstStep(5);
    EXPECT_EQ(geometry.firstStep, 0);
    EXPECT_LT(geometry.scrollMaximum(5), 0);
    EXPECT_EQ(geometry.lastDrawnStep(5), 4);
}

TEST(DisplayGeometry, BusRunsAreLabelledWhereTheyFit) {
    const TDigitalWave wave = waveOf({busSignal("B", {0, 1, 2})}, {0, 0, 5, 5, 5});
    DigitalDisplayGeometry geometry(777, 288);
    std::vector<BusRun> runs = busRuns(geometry, wave, 0, fixedWidth);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first, 0);
    EXPECT_EQ(runs[0].text, "0h");
    EXPECT_TRUE(runs[0].labelFits);
    EXPECT_EQ(runs[1].first, 2) << "the cross stands before the third step";
    EXPECT_EQ(runs[1].end, 5);
    EXPECT_EQ(runs[1].text, "5h");

    geometry.pixelsPerStep = 4;  // a closed run of two steps is 8 pixels: no room for "0h"
    runs = busRuns(geometry, wave, 0, fixedWidth);
    EXPECT_FALSE(runs[0].labelFits);
    EXPECT_TRUE(runs[1].labelFits) << "the last run may run on to the plot's end";
}

TEST(DisplayGeometry, TimeLabelsAtChangesKeepTheirDistance) {
    // A line that changes at steps 0, 1, 2 and 10.
    std::vector<std::uint16_t> words(12, 0);
    words[1] = 1;
    for (std::size_t s = 10; s < words.size(); ++s)
        words[s] = 1;
    const TDigitalWave wave = waveOf({singleSignal("S", 0)}, words);
    DigitalDisplayGeometry geometry(777, 288);
    const auto labelledSteps = [&] {
        std::vector<std::int32_t> steps;
        for (const TimeLabel& label : placeTimeLabels(geometry, wave, 0, 1000, fixedWidth).times)
            steps.push_back(label.step);
        return steps;
    };
    EXPECT_EQ(labelledSteps(), (std::vector<std::int32_t>{0, 1, 2, 10}));
    // At 8 pixels per step "1ms" and "2ms" would start within 5 pixels of "0s".
    geometry.pixelsPerStep = 8;
    EXPECT_EQ(labelledSteps(), (std::vector<std::int32_t>{0, 10}));
    const TimeLabels labels = placeTimeLabels(geometry, wave, 0, 1000, fixedWidth);
    EXPECT_EQ(labels.times[1].text, "10ms");
    EXPECT_EQ(labels.times[1].left, geometry.stepX(10) - 12);
    ASSERT_EQ(labels.durations.size(), 1u);
    EXPECT_EQ(labels.durations[0].text, "10ms");
    EXPECT_GT(labels.durations[0].left, labels.times[0].left + labels.times[0].width);
    EXPECT_TRUE(placeTimeLabels(geometry, wave, 0, 0, fixedWidth).times.empty());
}

TEST(DisplayGeometry, TextsOfCursorMarkerAndColumns) {
    EXPECT_EQ(measurementText(100, 50, 1000), "20Hz, 50ms");
    EXPECT_EQ(measurementText(50, 100, 1000), "20Hz, 50ms");
    EXPECT_EQ(measurementText(7, 7, 1000), "");
    EXPECT_EQ(cursorStepText(100), "100pix");
    EXPECT_EQ(stepTimeText(100, 1000), "100ms");
    const TSignal bus = busSignal("DATA", {0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(cursorValueText(bus, 0xA5), "A5h");
    EXPECT_EQ(cursorValueText(singleSignal("S", 3), 0x08), "1");
    EXPECT_EQ(kindText(bus), "Seq   E");
    EXPECT_EQ(kindText(clockSignal("C", 0, 3)), "Clk3");
    EXPECT_EQ(fittedName(bus, 65, fixedWidth), "DATA [0:7]");
    EXPECT_EQ(fittedName(bus, 30, fixedWidth), "DATA ");
}

TEST(DisplayGeometry, MeasurementKeepsClearOfTheCursorLabels) {
    // Centred between 200 and 400 it would cover the cursor's labels at 280 to 330.
    const int left = measurementLeft(300, 200, 60, 280, 330, 70, 736);
    EXPECT_TRUE(left + 60 <= 275 || left >= 335) << left;
    EXPECT_EQ(measurementLeft(300, 600, 60, 250, 310, 70, 736), 420);
    EXPECT_EQ(measurementLeft(138, 106, 60, 112, 165, 70, 736), 170) << "no room on the left";
    EXPECT_EQ(measurementLeft(720, 730, 60, 600, 700, 70, 736), 535) << "no room on the right";
}

}  // namespace
