#include "waves/PredefinedWaveforms.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PredefinedWaveforms, NamesKindsAndShapes) {
    WaveformStore store;
    resetPredefined(store, 42);
    const char* names[] = {"Sine", "Saw", "Triangle", "Square", "Noise"};
    for (int slot = 0; slot < kPredefinedSlotCount; ++slot) {
        const WaveformRecord& record = store.slots[slot];
        EXPECT_EQ(record.name(), names[slot]);
        EXPECT_EQ(record.pointCount(), kWavePointCount);
        EXPECT_EQ(record.generatorKind, kGeneratorPlain);
        EXPECT_EQ(record.imported, 0);
    }
    const auto& sine = store.slots[0].points;
    EXPECT_EQ(sine[0], 128);
    EXPECT_EQ(sine[4096], 255);
    EXPECT_EQ(sine[12288], 1);

    const auto& saw = store.slots[1].points;
    EXPECT_EQ(saw[0], 128);
    EXPECT_EQ(saw[4096], 192) << "191.5 rounds to the even 192";
    EXPECT_EQ(saw[8191], 255);
    EXPECT_EQ(saw[8192], 1);
    EXPECT_EQ(saw[16383], 128);

    const auto& triangle = store.slots[2].points;
    EXPECT_EQ(triangle[0], 128);
    EXPECT_EQ(triangle[2048], 192) << "191.5 rounds to the even 192";
    EXPECT_EQ(triangle[4096], 255);
    EXPECT_EQ(triangle[8192], 128);
    EXPECT_EQ(triangle[12288], 1);
    EXPECT_EQ(triangle[16383], 128);

    const WaveformRecord& square = store.slots[3];
    EXPECT_EQ(square.optionsKind, kOptionsSquare);
    EXPECT_EQ(square.params, (std::vector<std::uint8_t>{50, 0, 0, 0, 50, 0, 0, 0}));
    EXPECT_EQ(std::count(square.points.begin(), square.points.end(), 1), 8192);
    EXPECT_EQ(square.points[8191], 1);
    EXPECT_EQ(square.points[8192], 255);

    const auto& noise = store.slots[4].points;
    EXPECT_GE(*std::min_element(noise.begin(), noise.end()), 1);
    EXPECT_GT(std::count(noise.begin(), noise.end(), 255), 0) << "255 is reachable";
    EXPECT_GT(store.slots[4].harmonicCount, 1000) << "statistics computed for every slot";
}

TEST(PredefinedWaveforms, OnlyTheFirstFiveSlotsAreRebuilt) {
    WaveformStore store;
    store.slots[0].setName("User wave");
    store.slots[0].generatorKind = kGeneratorFormula;
    store.slots[0].params = {1, 2, 3};
    store.slots[5] = untitledWaveform();
    store.slots[31].setName("Last");
    resetPredefined(store, 1);
    EXPECT_EQ(store.slots[0].name(), "Sine");
    EXPECT_TRUE(store.slots[0].params.empty());
    EXPECT_EQ(store.slots[5], untitledWaveform());
    EXPECT_EQ(store.slots[31].name(), "Last");
}

TEST(PredefinedWaveforms, NoiseFollowsItsSeed) {
    WaveformStore a;
    WaveformStore b;
    WaveformStore c;
    resetPredefined(a, 7);
    resetPredefined(b, 7);
    resetPredefined(c, 8);
    EXPECT_EQ(a.slots[4].points, b.slots[4].points);
    EXPECT_NE(a.slots[4].points, c.slots[4].points);
}

TEST(PredefinedWaveforms, UntitledWaveform) {
    const WaveformRecord record = untitledWaveform();
    EXPECT_EQ(record.name(), "Untitled");
    EXPECT_EQ(record.points, std::vector<std::uint8_t>(kWavePointCount, 128));
    EXPECT_EQ(record.meanSample, 128);
    EXPECT_EQ(record.harmonicCount, 1);
}
