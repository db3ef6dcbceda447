#include <gtest/gtest.h>

#include "DigitalBuilders.h"
#include "core/ProgressReporter.h"
#include "RecordingMessages.h"
#include "core/UserError.h"
#include "digital/DigitalStepper.h"

namespace {

TEST(SignalValue, BusSpreadsItsBitsOverItsLinesOnly) {
    const TSignal bus = busSignal("B", {4, 5, 6, 7});
    std::uint16_t word = 0xF00F;
    setSignalValue(bus, word, 9);
    EXPECT_EQ(word, 0xF00F | 0x0090);
    EXPECT_EQ(getSignalValue(bus, word), 9);

    word = 0xFFFF;
    setSignalValue(bus, word, 0);
    EXPECT_EQ(word, 0xFF0F);
}

TEST(SignalValue, BusWithDescendingLines) {
    // bit 0 on D7 (shift 7), bit 1 on D2 (shift 1)
    const TSignal bus = busSignal("X", {7, 2});
    EXPECT_EQ(bus.pins[1].shift, 1);
    std::uint16_t word = 0;
    setSignalValue(bus, word, 2);
    EXPECT_EQ(word, 1 << 2);
    EXPECT_EQ(getSignalValue(bus, word), 2);
    setSignalValue(bus, word, 1);
    EXPECT_EQ(word, 1 << 7);
}

TEST(SignalValue, SingleSignalDropsHigherBits) {
    const TSignal single = singleSignal("A", 3);
    std::uint16_t word = 0;
    setSignalValue(single, word, 255);
    EXPECT_EQ(word, 1 << 3);
    EXPECT_EQ(getSignalValue(single, 0xFFFF), 1);
    setSignalValue(single, word, 254);
    EXPECT_EQ(word, 0);
}

TEST(SignalValue, SixteenLineBusOnReversedLines) {
    TSignal bus = busSignal("R", {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    std::uint16_t word = 0;
    setSignalValue(bus, word, 0x8001);
    EXPECT_EQ(word, 0x8001);
    setSignalValue(bus, word, 0x0003);
    EXPECT_EQ(word, 0xC000);
    EXPECT_EQ(getSignalValue(bus, word), 3);
}

TEST(SignalValue, ImpossibleShiftsReadAndWriteNothing) {
    TSignal broken = singleSignal("Z", 0);
    broken.pins[0].shift = 100;
    std::uint16_t word = 0xFFFF;
    EXPECT_EQ(getSignalValue(broken, word), 0);
    setSignalValue(broken, word, 1);
    EXPECT_EQ(word, 0xFFFE);
}

TEST(SignalNames, DisplayNameAndLine) {
    EXPECT_EQ(signalDisplayName(singleSignal("CLK", 0)), "CLK");
    EXPECT_EQ(signalDisplayName(busSignal("DATA", {0, 1, 2, 3, 4, 5, 6, 7})), "DATA[0:7]");
    EXPECT_EQ(lineOfMask(0), -1);
    EXPECT_EQ(lineOfMask(1), 0);
    EXPECT_EQ(lineOfMask(0x8000), 15);
    EXPECT_EQ(lineOfMask(0x0030), 4);
}

TEST(WaveLength, CapacityFollowsTheAllocationUnit) {
    TDigitalWave wave;
    EXPECT_EQ(wave.capacity(), 0);
    setWaveLength(wave, 1);
    EXPECT_EQ(wave.length(), 1);
    EXPECT_EQ(wave.capacity(), 65536);
    setWaveLength(wave, 65536);
    EXPECT_EQ(wave.capacity(), 65536);
    setWaveLength(wave, 65537);
    EXPECT_EQ(wave.capacity(), 131072);
    setWaveLength(wave, 262144);
    EXPECT_EQ(wave.capacity(), 262144);
    setWaveLength(wave, 0);
    EXPECT_EQ(wave.capacity(), 0);
    EXPECT_TRUE(wave.words().empty());
}

TEST(WaveLength, KeepsWordsAcrossReallocationAndZeroesNewOnes) {
    TDigitalWave wave = waveOf({singleSignal("A", 0)}, {1, 2, 3});
    setWaveLength(wave, 70000);
    EXPECT_EQ(wave.word(0), 1);
    EXPECT_EQ(wave.word(2), 3);
    EXPECT_EQ(wave.word(3), 0);
    EXPECT_EQ(wave.word(69999), 0);
    setWaveLength(wave, 2);
    EXPECT_EQ(wave.capacity(), 65536);
    EXPECT_EQ(wave.word(1), 2);
}

TEST(WaveLength, TooLongIsRefusedWithoutChange) {
    TDigitalWave wave = waveOf({singleSignal("A", 0)}, {7});
    try {
        setWaveLength(wave, 262145);
        FAIL() << "no error";
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "Waveform too long");
    }
    EXPECT_EQ(wave.length(), 1);
    EXPECT_EQ(wave.capacity(), 65536);
    EXPECT_EQ(wave.word(0), 7);
}

TEST(WaveCopy, CopyIsDeepAndClearForgetsEverything) {
    TDigitalWave source = waveOf({singleSignal("A", 0), clockSignal("C", 1, 2, 5)}, {1, 2, 3});
    TDigitalWave target =
        waveOf({busSignal("OLD", {0, 1, 2}), singleSignal("X", 5), singleSignal("Y", 6)}, {9});
    copyWave(source, target);
    EXPECT_EQ(target.length(), 3);
    EXPECT_EQ(target.capacity(), 65536);
    ASSERT_EQ(target.signalCount, 2);
    EXPECT_EQ(target.signals[1].name, "C");
    EXPECT_EQ(target.signals[1].counter, 5);
    EXPECT_EQ(target.signals[2].name, "");
    target.word(0) = 100;
    EXPECT_EQ(source.word(0), 1);

    clearWave(target);
    EXPECT_EQ(target.length(), 0);
    EXPECT_EQ(target.capacity(), 0);
    EXPECT_EQ(target.signalCount, 0);
}

TEST(Clock, AppendedStepsFollowTheChosenCounterBit) {
    TDigitalWave wave = waveOf({clockSignal("C", 3, 1, 0), clockSignal("F", 4, 0, 0)});
    std::int32_t cursor = -1;
    RecordingMessages messages;
    SilentProgress progress;
    DigitalStepper stepper(wave, nullptr, cursor, messages, progress, nullptr);
    for (int i = 0; i < 8; ++i)
        stepper.appendStep();
    EXPECT_EQ(signalTrace(wave, 0), (std::vector<int>{0, 0, 1, 1, 0, 0, 1, 1}));
    EXPECT_EQ(signalTrace(wave, 1), (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(wave.signals[0].counter, 8);
    EXPECT_EQ(cursor, 7);
}

TEST(Clock, CounterWrapsInsteadOfOverflowing) {
    TDigitalWave wave = waveOf({clockSignal("C", 0, 31, 0x7FFFFFFF)}, {0});
    advanceClocks(wave, 0);
    EXPECT_EQ(wave.word(0), 0);
    EXPECT_EQ(wave.signals[0].counter, static_cast<std::int32_t>(0x80000000u));
    advanceClocks(wave, 0);
    EXPECT_EQ(wave.word(0), 1);
}

}  // namespace
