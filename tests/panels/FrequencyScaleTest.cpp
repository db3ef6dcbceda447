#include "panels/FrequencyScale.h"

#include <gtest/gtest.h>

namespace {

// The panels' pictures are 454 pixels wide: a ruler of 424 from column 15.
FrequencyScale scaleOf(double min, double max, bool decadeFirstStep) {
    FrequencyScale scale(min, max, decadeFirstStep);
    scale.setImageWidth(454);
    return scale;
}

std::vector<std::string> labelsOf(const FrequencyScale& scale, bool major) {
    std::vector<std::string> labels;
    for (const auto& tick : scale.visibleTicks())
        if (tick.major == major) labels.push_back(tick.label);
    return labels;
}

// Marks on the ticks at a and b, then "Zoom in".
void zoomTo(FrequencyScale& scale, double a, double b) {
    scale.pickMark(scale.roundedPixelOf(a));
    scale.pickMark(scale.roundedPixelOf(b));
    scale.zoomIn();
}

}  // namespace

TEST(FrequencyScale, PixelsAndFrequenciesMapBothWays) {
    FrequencyScale scale = scaleOf(0.1, 25000000, false);
    EXPECT_DOUBLE_EQ(scale.pixelOf(0.1), 15);
    EXPECT_DOUBLE_EQ(scale.pixelOf(25000000), 439);
    // 1 Hz lies 424 / log10(2.5e8) pixels in.
    EXPECT_EQ(scale.roundedPixelOf(1), 15 + 50);
    EXPECT_NEAR(scale.frequencyAt(scale.pixelOf(1234.5)), 1234.5, 1e-6);
    scale.showLinear();
    EXPECT_DOUBLE_EQ(scale.pixelOf(12500000.05), 15 + 212);
    EXPECT_NEAR(scale.frequencyAt(100.5), 5041273.67, 0.01);
}

TEST(FrequencyScale, TicksRunByDecadesOrTenthsWithMinorOnesWhenZoomed) {
    FrequencyScale analog = scaleOf(0.1, 25000000, false);
    EXPECT_EQ(analog.majorTicks(), (std::vector<double>{0.1, 1, 10, 100, 1000, 10000, 100000,
                                                        1000000, 10000000, 25000000}));
    EXPECT_EQ(analog.minorTickCount(), 1) << "more than four decades in view";
    FrequencyScale tick = scaleOf(1525.878906, 50000000, true);
    EXPECT_EQ(tick.majorTicks(),
              (std::vector<double>{1525.878906, 10000, 100000, 1000000, 10000000, 50000000}));
    // The short first step of the decade scale has no minor tick beyond 10 kHz.
    for (const auto& each : tick.visibleTicks())
        EXPECT_TRUE(each.major || each.frequency < 10000 || each.frequency >= 20000);
    zoomTo(tick, 10000, 10000000);
    EXPECT_EQ(labelsOf(tick, true), (std::vector<std::string>{"10k", "100k", "1M", "10M"}));
    const std::vector<std::string> minors = labelsOf(tick, false);
    ASSERT_EQ(minors.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(minors.begin(), minors.begin() + 4),
              (std::vector<std::string>{"2", "4", "6", "8"}));

    analog.showLinear();
    EXPECT_EQ(analog.linearStep(), 2500000);
    EXPECT_EQ(analog.majorTicks().size(), 11u);
    EXPECT_EQ(analog.majorTicks().back(), 25000000);
    // Two neighbouring ticks: ten minor intervals, although the view's width is a hair short
    // of one step.
    zoomTo(analog, 2500000.1, 5000000.1);
    EXPECT_EQ(analog.minorTickCount(), 10);
    EXPECT_EQ(labelsOf(analog, false).front(), "2.75M");
}

TEST(FrequencyScale, MarksAlternateAndZoomOutMovesThemOneMajorTickOut) {
    FrequencyScale scale = scaleOf(0.1, 25000000, false);
    scale.zoomOut();
    EXPECT_EQ(scale.viewLow(), 0.1) << "at the whole range nothing changes";
    EXPECT_EQ(scale.viewHigh(), 25000000);
    EXPECT_TRUE(scale.pickMark(scale.roundedPixelOf(1000) + 4));
    EXPECT_FALSE(scale.pickMark(scale.roundedPixelOf(1000))) << "the other mark is there";
    EXPECT_FALSE(scale.pickMark(scale.roundedPixelOf(3000))) << "no tick near";
    EXPECT_TRUE(scale.pickMark(scale.roundedPixelOf(100)));
    scale.zoomIn();
    EXPECT_EQ(scale.viewLow(), 100);
    EXPECT_EQ(scale.viewHigh(), 1000);
    EXPECT_DOUBLE_EQ(scale.viewSpan(), 1);
    scale.zoomOut();
    EXPECT_EQ(scale.viewLow(), 10);
    EXPECT_EQ(scale.viewHigh(), 10000);
    // The linear scale kept its own view and marks meanwhile.
    scale.showLinear();
    EXPECT_EQ(scale.markA(), 0.1);
    scale.showLogarithmic();
    EXPECT_EQ(scale.viewLow(), 10);
}

TEST(FrequencyScale, PanningKeepsTheAnchorUnderThePointerWithinTheRange) {
    FrequencyScale scale = scaleOf(0.1, 25000000, false);
    zoomTo(scale, 10, 10000);
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

TEST(FrequencyScale, MultiplierIsHeldToWhatChannelBCanPlay) {
    const double osc = 50000000.0 / 16384;
    // 3 and 4 share the top of octave 11: 2048 * 3051.7578125 - 0.1.
    EXPECT_DOUBLE_EQ(limitMultiplier(25000000, 1000000, 3, 512, osc).ratioLimit, 6249999.9);
    EXPECT_DOUBLE_EQ(limitMultiplier(25000000, 1000000, 4, 512, osc).ratioLimit, 6249999.9);
    EXPECT_DOUBLE_EQ(limitMultiplier(25000000, 1000, 1, 1, osc).ratioLimit, 24999999.9);
    // Raised while the frequency is high: back to trunc(max / f).
    EXPECT_EQ(limitMultiplier(25000000, 10000000, 3, 4096, osc).ratio, 2);
    // At most 8192 points per octave step.
    EXPECT_EQ(limitMultiplier(25000000, 7000000, 3, 4096, osc).ratio, 2);
    EXPECT_EQ(fineBarPosition(100.25, 100), 125);
    EXPECT_EQ(fineBarPosition(90, 100), 1);
}
