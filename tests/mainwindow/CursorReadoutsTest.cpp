#include "core/CursorReadouts.h"

#include <gtest/gtest.h>

namespace {

// Level code 2048 into an open output: 8400 mV peak-to-peak for the full 254 steps.
constexpr ChannelLevel FullSine{8400.0, 254};

TEST(AnalogCursorReadout, ChannelAOfAFullSineAtOneKilohertz) {
    const CursorReadout readout = analogCursorReadout({1000, 9192, 255, 1, 129}, FullSine, 1000.0);
    EXPECT_EQ(readout.deltaX, "50%");
    EXPECT_EQ(readout.deltaXTime, "500us");
    EXPECT_EQ(readout.deltaXFrequency, "2kHz");
    EXPECT_EQ(readout.deltaY, "100%");
    EXPECT_EQ(readout.deltaYVolts, "8.4V");
    // y1 at the top: 126 steps above the zero line.
    EXPECT_EQ(readout.deltaYAbsolute, "4.167V");
}

TEST(AnalogCursorReadout, CursorBelowTheZeroLineReadsNegativeWithOneMinus) {
    const CursorReadout readout = analogCursorReadout({0, 0, 1, 1, 129}, FullSine, 1000.0);
    EXPECT_EQ(readout.deltaYAbsolute, "-4.233V");
    EXPECT_EQ(readout.deltaYVolts, "0V");
}

TEST(AnalogCursorReadout, ChannelBTimeUsesOctaveFactorAndMultiplier) {
    // dx 8192 of a period at 1 kHz x 2, played in groups of 4 points: 1 ms.
    const CursorReadout readout =
        analogCursorReadout({0, 8192, 128, 128, 128}, FullSine, 1000.0, 4, 2);
    EXPECT_EQ(readout.deltaXTime, "1ms");
    EXPECT_EQ(readout.deltaXFrequency, "1kHz");
    // Channel A's time ignores both.
    EXPECT_EQ(analogCursorReadout({0, 8192, 128, 128, 128}, FullSine, 1000.0).deltaXTime, "500us");
}

TEST(AnalogCursorReadout, CoincidentCursorsLeaveTheFrequencyAlone) {
    const CursorReadout readout = analogCursorReadout({300, 300, 128, 128, 128}, FullSine, 50.0);
    EXPECT_EQ(readout.deltaX, "0%");
    EXPECT_EQ(readout.deltaXTime, "0s");
    EXPECT_FALSE(readout.deltaXFrequency.has_value());
}

TEST(AnalogCursorReadout, SharesAreRoundedToOneDecimal) {
    // 100 points = 0.6103...% of the period; 10 steps of a 127-step waveform = 7.874...%.
    const CursorReadout readout =
        analogCursorReadout({100, 0, 60, 50, 128}, ChannelLevel{8400.0, 127}, 1000.0);
    EXPECT_EQ(readout.deltaX, "0.6%");
    EXPECT_EQ(readout.deltaY, "7.9%");
}

TEST(AnalogCursorReadout, FlatWaveformHasNoVerticalShare) {
    const CursorReadout readout =
        analogCursorReadout({0, 10, 200, 100, 128}, ChannelLevel{8400.0, 0}, 1000.0);
    EXPECT_EQ(readout.deltaY, "N/A");
    EXPECT_EQ(readout.deltaYVolts, "3.307V");
}

TEST(ImportCursorReadout, ShareOfTheRecordAndTimeAtTheTickFrequency) {
    const CursorReadout readout =
        importCursorReadout({750, 500, 255, 1, 129}, FullSine, 1000000.0, 1000);
    EXPECT_EQ(readout.deltaX, "25%");
    EXPECT_EQ(readout.deltaXTime, "250us");
    EXPECT_EQ(readout.deltaXFrequency, "4kHz");
    EXPECT_EQ(readout.deltaY, "100%");
    EXPECT_EQ(readout.deltaYVolts, "8.4V");
    EXPECT_EQ(readout.deltaYAbsolute, "4.167V");
}

TEST(ImportCursorReadout, RepetitionFrequencyOfTheRecord) {
    EXPECT_EQ(importRepetitionText(1000000.0, 1000), "1.00000kHz");
    EXPECT_EQ(importRepetitionText(1525.878906, 16384), "0.093132Hz");
}

TEST(PhaseText, DegreesWithOneDecimal) {
    EXPECT_EQ(phaseDegreesText(0), "0");
    EXPECT_EQ(phaseDegreesText(4096), "90");
    EXPECT_EQ(phaseDegreesText(100), "2.2");
    EXPECT_EQ(phaseDegreesText(-8191), "-180");
}

TEST(PhaseText, TypedDegreesBecomeTruncatedPoints) {
    EXPECT_EQ(phasePointsFromText("90"), 4096);
    EXPECT_EQ(phasePointsFromText("45,5"), 2070) << "comma accepted as the point";
    EXPECT_EQ(phasePointsFromText("-10"), -455) << "truncated towards zero";
    EXPECT_EQ(phasePointsFromText("abc"), std::nullopt);
    EXPECT_EQ(phasePointsFromText(""), std::nullopt);
    EXPECT_EQ(phasePointsFromText("12deg"), std::nullopt);
    EXPECT_EQ(phasePointsFromText("1e300"), std::nullopt) << "no phase fits";
}

TEST(PointerMargin, OutermostPixelsCountAsOutside) {
    // Rectangle x 10..109, y 20..69.
    EXPECT_FALSE(insideWithMargin(10, 30, 10, 20, 100, 50));
    EXPECT_FALSE(insideWithMargin(50, 20, 10, 20, 100, 50));
    EXPECT_TRUE(insideWithMargin(11, 21, 10, 20, 100, 50));
    EXPECT_TRUE(insideWithMargin(108, 68, 10, 20, 100, 50));
    EXPECT_FALSE(insideWithMargin(109, 30, 10, 20, 100, 50));
    EXPECT_FALSE(insideWithMargin(50, 69, 10, 20, 100, 50));
    EXPECT_FALSE(insideWithMargin(500, 500, 10, 20, 100, 50));
}

}  // namespace
