#include <gtest/gtest.h>

#include "import/CursorTracking.h"
#include "import/GroundShift.h"
#include "import/ImportCut.h"
#include "import/ImportTargetRules.h"

TEST(GroundShift, GroundAt128NeedsNoShift) {
    EXPECT_EQ(shiftFromGround({}, 8000, 128), 2048);
    EXPECT_EQ(shiftFromGround({50, generator::OutputNormal}, 40000, 128), 2048);
}

TEST(GroundShift, GroundBelowTheMiddleRaisesTheSignal) {
    // ground 96 of 8000 mV: 0 V was recorded 32 steps low, so the signal is shifted by +1000 mV
    EXPECT_EQ(shiftFromGround({}, 8000, 96), 2048 + 512);
    EXPECT_EQ(shiftFromGround({}, 8000, 160), 2048 - 512);
    // ground 127.5 (from "127,5"): +15.625 mV
    EXPECT_EQ(shiftFromGround({}, 8000, 127.5), 2056);
    // into 50 ohms twice the open-circuit voltage is needed
    EXPECT_EQ(shiftFromGround({50, generator::OutputNormal}, 8000, 96), 2048 + 1024);
}

TEST(GroundShift, ShiftBeyondTheGeneratorIsLimited) {
    EXPECT_EQ(shiftFromGround({}, 40000, 0), 4096);
    EXPECT_EQ(shiftFromGround({}, 40000, 255), 0);
    EXPECT_EQ(shiftFromGround({}, 80, 1e300), 0);
    EXPECT_EQ(shiftFromGround({-1, generator::OutputMinus20dB}, 8000, 96), 4096);
}

TEST(ImportTarget, ShortChannelMayOnlyGoToBoth) {
    ImportTargetChoices shortChannel = availableImportTargets(500, 16384);
    EXPECT_TRUE(shortChannel.both);
    EXPECT_FALSE(shortChannel.channelA);
    EXPECT_FALSE(shortChannel.channelB);
    ImportTargetChoices equal = availableImportTargets(16384, 16384);
    EXPECT_TRUE(equal.channelA);
    EXPECT_TRUE(equal.channelB);
    EXPECT_TRUE(availableImportTargets(1, 0).channelA);
}

TEST(CursorTracking, OtherPairTakesTheDistanceFromItsSmallerCursor) {
    CursorPair b = matchCursorDistance({0, 250}, {0, 1000}, 1000);
    EXPECT_EQ(b.first, 0);
    EXPECT_EQ(b.second, 250);
    CursorPair moved = matchCursorDistance({40, 90}, {300, 100}, 1000);
    EXPECT_EQ(moved.first, 150);
    EXPECT_EQ(moved.second, 100);
    EXPECT_EQ(cursorDistance(moved), 50);
}

TEST(CursorTracking, PairRunningPastTheEndIsShiftedBack) {
    CursorPair b = matchCursorDistance({0, 300}, {900, 950}, 1000);
    EXPECT_EQ(b.first, 700);
    EXPECT_EQ(b.second, 1000);
    // A whole record stays a whole record.
    CursorPair whole = matchCursorDistance({0, 1000}, {0, 1000}, 1000);
    EXPECT_EQ(whole.first, 0);
    EXPECT_EQ(whole.second, 1000);
    // Never before the first point, even when the other record is shorter.
    CursorPair shorter = matchCursorDistance({0, 1000}, {10, 20}, 600);
    EXPECT_EQ(shorter.first, 0);
    EXPECT_EQ(shorter.second, 600);
}

TEST(ImportCut, TakesThePointsFromStartToEndMinusTwo) {
    WaveformRecord source;
    source.setName("Scope");
    for (int i = 0; i < 1000; ++i)
        source.points.push_back(static_cast<std::uint8_t>(i % 200 + 1));
    source.optionsKind = kOptionsSquare;
    source.generatorKind = kGeneratorFormula;
    source.params = {1, 2, 3};

    WaveformRecord cut = cutRecord(source, {100, 0});
    ASSERT_EQ(cut.pointCount(), 99);
    EXPECT_EQ(cut.points.front(), 1);
    EXPECT_EQ(cut.points.back(), 99);
    EXPECT_EQ(cut.name(), "Scope");
    EXPECT_EQ(cut.imported, 1);
    EXPECT_EQ(cut.optionsKind, 0);
    EXPECT_EQ(cut.generatorKind, 0);
    EXPECT_EQ(cut.paramCount(), 0);
    EXPECT_EQ(cut.minSample, 1);
    EXPECT_EQ(cut.maxSample, 99);
    EXPECT_EQ(cut.peakToPeak, 98);
    EXPECT_DOUBLE_EQ(cut.meanSample, 50);

    // cursors at 0 and the point count + 1 take the whole record, and never more
    EXPECT_EQ(cutRecord(source, {0, 1001}).points, source.points);
    EXPECT_EQ(cutRecord(source, {995, 2000}).pointCount(), 5);
    EXPECT_EQ(cutRecord(source, {5, 6}).pointCount(), 0);
}

TEST(ImportCut, StretchProblems) {
    EXPECT_EQ(stretchProblem({7, 7}), "Velkost periody musi byt nenulova");
    // adjacent cursors would cut no point at all
    EXPECT_EQ(stretchProblem({8, 7}), "Velkost periody musi byt nenulova");
    EXPECT_EQ(stretchProblem({7, 9}), std::nullopt);
    EXPECT_EQ(stretchProblem({0, kMaxRecordPointCount + 1}), std::nullopt);
    EXPECT_NE(stretchProblem({0, kMaxRecordPointCount + 2}), std::nullopt);
}
