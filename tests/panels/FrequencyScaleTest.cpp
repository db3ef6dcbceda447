#include "panels/FrequencyScale.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The analog panel's picture is 454 pixels wide: a ruler of 424 from column 15.
FrequencyScale analogScale() {
    FrequencyScale scale(0.1, 25000000, false);
    scale.setImageWidth(454);
    return scale;
}

FrequencyScale tickScale() {
    FrequencyScale scale(1525.878906, 50000000, true);
    scale.setImageWidth(454);
    return scale;
}

std::vector<std::string> labelsOf(const std::vector<FrequencyScale::Tick>& ticks, bool major) {
    std::vector<std::string> labels;
    for (const auto& tick : ticks)
        if (tick.major == major) labels.push_back(tick.label);
    return labels;
}

}  // namespace

TEST(FrequencyScale, PixelsAndFrequenciesMapBothWaysOnBothKinds) {
    FrequencyScale scale = analogScale();
    EXPECT_EQ(scale.scaleWidth(), 424);
    EXPECT_DOUBLE_EQ(scale.pixelOf(0.1), 15);
    EXPECT_DOUBLE_EQ(scale.pixelOf(25000000), 439);
    EXPECT_NEAR(scale.frequencyAt(scale.pixelOf(1234.5)), 1234.5, 1e-6);
    // Eight decades and a bit: 1 Hz lies 424 / log10(2.5e8) pixels in.
    EXPECT_EQ(scale.roundedPixelOf(1), 15 + 50);
    scale.showLinear();
    EXPECT_DOUBLE_EQ(scale.pixelOf(12500000.05), 15 + 212);
    EXPECT_NEAR(scale.frequencyAt(100.5), 5041273.67, 0.01);
}

TEST(FrequencyScale, MajorTicksRunByDecadesOrTenthsAndEndAtTheTop) {
    FrequencyScale analog = analogScale();
    EXPECT_EQ(analog.majorTicks(), (std::vector<double>{0.1, 1, 10, 100, 1000, 10000, 100000,
                                                        1000000, 10000000, 25000000}));
    FrequencyScale tick = tickScale();
    EXPECT_EQ(tick.majorTicks(),
              (std::vector<double>{1525.878906, 10000, 100000, 1000000, 10000000, 50000000}));
    analog.showLinear();
    const std::vector<double> linear = analog.majorTicks();
    ASSERT_EQ(linear.size(), 11u);
    EXPECT_EQ(analog.linearStep(), 2500000);
    EXPECT_DOUBLE_EQ(linear[1], 2500000.1);
    EXPECT_EQ(linear.back(), 25000000);
    EXPECT_EQ(tick.linearStep(), 4999847);
}

TEST(FrequencyScale, MinorTicksAppearAsTheViewNarrows) {
    EXPECT_EQ(analogScale().minorTickCount(), 1) << "more than four decades in view";
    FrequencyScale scale = tickScale();
    // Marks on 1e4 and 1e7 (the second and fifth tick): three decades in view.
    scale.pickMark(scale.roundedPixelOf(10000));
    scale.pickMark(scale.roundedPixelOf(10000000));
    scale.zoomIn();
    EXPECT_EQ(scale.minorTickCount(), 5);
    const auto ticks = scale.visibleTicks();
    EXPECT_EQ(labelsOf(ticks, true), (std::vector<std::string>{"10k", "100k", "1M", "10M"}));
    const std::vector<std::string> minors = labelsOf(ticks, false);
    ASSERT_EQ(minors.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(minors.begin(), minors.begin() + 4),
              (std::vector<std::string>{"2", "4", "6", "8"}));

    // The short first step of a decade scale has no minor tick beyond 10 kHz.
    for (const auto& tick : tickScale().visibleTicks())
        EXPECT_TRUE(tick.major || tick.frequency < 10000 || tick.frequency >= 20000);

    FrequencyScale linear = analogScale();
    linear.showLinear();
    linear.pickMark(linear.roundedPixelOf(2500000.1));
    linear.pickMark(linear.roundedPixelOf(5000000.1));
    linear.zoomIn();
    EXPECT_EQ(linear.minorTickCount(), 10);
    EXPECT_EQ(labelsOf(linear.visibleTicks(), false).front(), "2.75M");
    EXPECT_EQ(labelsOf(tickScale().visibleTicks(), true).front(), "1.52588k");
}

TEST(FrequencyScale, MarksAlternateAndNeverCoincide) {
    FrequencyScale scale = analogScale();
    EXPECT_EQ(scale.nextMark(), 1);
    EXPECT_TRUE(scale.pickMark(scale.roundedPixelOf(1000) + 4));
    EXPECT_EQ(scale.markA(), 1000);
    EXPECT_EQ(scale.nextMark(), 2);
    EXPECT_FALSE(scale.pickMark(scale.roundedPixelOf(1000))) << "the other mark is there";
    EXPECT_FALSE(scale.pickMark(scale.roundedPixelOf(3000))) << "no tick near";
    EXPECT_TRUE(scale.pickMark(scale.roundedPixelOf(100)));
    EXPECT_EQ(scale.markB(), 100);
    scale.zoomIn();
    EXPECT_EQ(scale.viewLow(), 100);
    EXPECT_EQ(scale.viewHigh(), 1000);
    EXPECT_DOUBLE_EQ(scale.viewSpan(), 1);
}

TEST(FrequencyScale, ZoomOutMovesTheMarksOneMajorTickOutwards) {
    FrequencyScale scale = analogScale();
    scale.zoomOut();
    EXPECT_EQ(scale.viewLow(), 0.1) << "at the whole range nothing changes";
    EXPECT_EQ(scale.viewHigh(), 25000000);

    scale.showLinear();
    scale.pickMark(scale.roundedPixelOf(5000000.1));
    scale.pickMark(scale.roundedPixelOf(7500000.1));
    scale.zoomIn();
    // Minor ticks now: a mark on one moves to the major tick below it.
    scale.pickMark(scale.roundedPixelOf(5250000.1));
    scale.zoomOut();
    EXPECT_DOUBLE_EQ(scale.viewLow(), 5000000.1);
    EXPECT_DOUBLE_EQ(scale.viewHigh(), 10000000.1);
}

TEST(FrequencyScale, EachKindKeepsItsViewAndMarks) {
    FrequencyScale scale = analogScale();
    scale.pickMark(scale.roundedPixelOf(10));
    scale.pickMark(scale.roundedPixelOf(10000));
    scale.zoomIn();
    scale.showLinear();
    EXPECT_EQ(scale.viewLow(), 0.1);
    EXPECT_EQ(scale.viewHigh(), 25000000);
    EXPECT_EQ(scale.markA(), 0.1);
    scale.showLogarithmic();
    EXPECT_EQ(scale.viewLow(), 10);
    EXPECT_EQ(scale.viewHigh(), 10000);
    EXPECT_EQ(scale.markB(), 10000);
}

TEST(FrequencyScale, PanningKeepsTheAnchorUnderThePointerWithinTheRange) {
    FrequencyScale scale = analogScale();
    scale.pickMark(scale.roundedPixelOf(10));
    scale.pickMark(scale.roundedPixelOf(10000));
    scale.zoomIn();
    const double anchor = scale.frequencyAt(100);
    scale.panTo(anchor, 200);
    EXPECT_NEAR(scale.pixelOf(anchor), 200, 1e-9);
    EXPECT_DOUBLE_EQ(scale.viewSpan(), 3);
    scale.panTo(anchor, -2000);
    EXPECT_EQ(scale.viewHigh(), 25000000) << "held at the top";
    EXPECT_DOUBLE_EQ(scale.viewSpan(), 3);
    scale.panTo(anchor, 5000);
    EXPECT_EQ(scale.viewLow(), 0.1) << "held at the bottom";
}

TEST(FrequencyScale, WindowIsSymmetricAboutTheCentreAndNeverEmpty) {
    FrequencyScale scale = analogScale();
    scale.showLinear();
    const double centre = 10000000;
    const double atPointer = scale.frequencyAt(100);
    const auto [low, high] = scale.symmetricWindow(100, centre);
    EXPECT_DOUBLE_EQ(low, atPointer);
    EXPECT_DOUBLE_EQ(high, 2 * centre - atPointer);
    EXPECT_FALSE(scale.fixWindow(scale.roundedPixelOf(centre),
                                 scale.frequencyAt(scale.roundedPixelOf(centre))));
    EXPECT_EQ(scale.mode(), FrequencyScale::Mode::Linear);
    EXPECT_TRUE(scale.fixWindow(100, centre));
    EXPECT_EQ(scale.mode(), FrequencyScale::Mode::Window);
    scale.zoomOut();
    EXPECT_DOUBLE_EQ(scale.viewLow(), low) << "no zooming in a window";
}

TEST(FrequencyScale, MultiplierIsHeldToWhatChannelBCanPlay) {
    const double osc = 50000000.0 / 16384;
    // 3 and 4 share the top of octave 11: 2048 * 3051.7578125 - 0.1.
    const MultiplierLimit three = limitMultiplier(25000000, 1000000, 3, 512, osc);
    const MultiplierLimit four = limitMultiplier(25000000, 1000000, 4, 512, osc);
    EXPECT_EQ(three.ratio, 3);
    EXPECT_DOUBLE_EQ(three.ratioLimit, 6249999.9);
    EXPECT_DOUBLE_EQ(four.ratioLimit, 6249999.9);
    EXPECT_DOUBLE_EQ(limitMultiplier(25000000, 1000, 1, 1, osc).ratioLimit, 24999999.9);
    // Raised while the frequency is high: back to trunc(max / f).
    EXPECT_EQ(limitMultiplier(25000000, 10000000, 3, 4096, osc).ratio, 2);
    // At most 8192 points per octave step.
    EXPECT_EQ(limitMultiplier(25000000, 7000000, 3, 4096, osc).ratio, 2);
    EXPECT_TRUE(isPowerOfTwo(4));
    EXPECT_FALSE(isPowerOfTwo(3));
}

TEST(FrequencyScale, FineBarHoldsTheSubPixelOffset) {
    EXPECT_EQ(fineBarPosition(100, 100), 100);
    EXPECT_EQ(fineBarPosition(100.25, 100), 125);
    EXPECT_EQ(fineBarPosition(99.5, 100), 50);
    EXPECT_EQ(fineBarPosition(103, 100), 200);
    EXPECT_EQ(fineBarPosition(90, 100), 1);
}
