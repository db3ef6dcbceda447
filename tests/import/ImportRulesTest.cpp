#include <gtest/gtest.h>

#include "import/CursorTracking.h"
#include "import/GroundShift.h"
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
