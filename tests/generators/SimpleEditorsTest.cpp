#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/ByteStream.h"
#include "core/UserError.h"
#include "generators/AddNoise.h"
#include "generators/AmplitudeModulation.h"
#include "generators/SquareWave.h"
#include "waves/PredefinedWaveforms.h"

namespace {

std::pair<int, int> extremes(const WaveformRecord& record) {
    const auto [lowest, highest] = std::minmax_element(record.points.begin(), record.points.end());
    return {*lowest, *highest};
}

}  // namespace

TEST(SquareWave, SharesAndPoints) {
    WaveformRecord work = untitledWaveform();
    applySquareWave(work, 25);
    EXPECT_EQ(std::count(work.points.begin(), work.points.end(), 1), 4096);
    EXPECT_EQ(std::count(work.points.begin(), work.points.end(), 255), 12288);
    EXPECT_EQ(work.points[4095], 1);
    EXPECT_EQ(work.params, (std::vector<std::uint8_t>{25, 0, 0, 0, 75, 0, 0, 0}));
    EXPECT_EQ(work.maxSample, 255) << "statistics computed";

    EXPECT_EQ(sharesFromTyped(130), (SquareShares{100, 0}));
    EXPECT_EQ(sharesFromTyped(-5), (SquareShares{0, 100}));
    applySquareWave(work, 100);
    EXPECT_EQ(work.points, std::vector<std::uint8_t>(kWavePointCount, 1));
    EXPECT_EQ(decodeSquareShares(work.params), (SquareShares{100, 0}));
    EXPECT_EQ(decodeSquareShares({}), (SquareShares{50, 50}));
}

TEST(AmplitudeModulation, FullMinimumAmplitudeIgnoresTheSource) {
    WaveformStore store;
    resetPredefined(store, 1);
    const ModulationParams params{5, 100};
    WaveformRecord fromSine;
    WaveformRecord fromNoise;
    modulate(store.slots[0], params, fromSine);
    modulate(store.slots[4], params, fromNoise);
    EXPECT_EQ(fromSine.points, fromNoise.points);
    for (int i : {0, 819, 1000, 2458}) {
        const double carrier = std::sin(5 * 2 * std::numbers::pi * i / 16384) * 128 + 127;
        EXPECT_EQ(fromSine.points[static_cast<std::size_t>(i)],
                  static_cast<int>(std::clamp(std::nearbyint(carrier), 1.0, 255.0)));
    }
    EXPECT_EQ(extremes(fromSine), (std::pair<int, int>{1, 255}));
}

TEST(AmplitudeModulation, ZeroMinimumOfAFlatSourceIsHalfScale) {
    const WaveformRecord flat = untitledWaveform();
    WaveformRecord work = flat;
    modulate(flat, ModulationParams{50, 0}, work);
    const auto [low, high] = extremes(work);
    EXPECT_NEAR(high, 127 + 64.5, 1);
    EXPECT_NEAR(low, 127 - 64.5, 1);
    EXPECT_EQ(flat, untitledWaveform()) << "the source is never changed";

    EXPECT_EQ(limitMinimumAmplitude(120), 95);
    EXPECT_EQ(limitMinimumAmplitude(-3), 0);
    EXPECT_EQ(limitMinimumAmplitude(40), 40);
}

TEST(AmplitudeModulation, FinishStoresTheBlock) {
    WaveformRecord work;
    finishModulation(untitledWaveform(), ModulationParams{7, 25}, work);
    EXPECT_EQ(work.generatorKind, kGeneratorModulation);
    EXPECT_EQ(work.optionsKind, kOptionsNone);
    ASSERT_EQ(work.paramCount(), 24);
    ByteReader in(work.params);
    EXPECT_EQ(in.i32(), 7);
    EXPECT_EQ(in.i32(), 0);
    EXPECT_DOUBLE_EQ(in.f64(), 32.0) << "depth scale = 25 * 128 / 100";
    EXPECT_EQ(in.i32(), 25);
    EXPECT_EQ(decodeModulationParams(work.params), (ModulationParams{7, 25}));
    EXPECT_EQ(work.harmonicCount, 7);
}

TEST(AddNoise, LevelZeroReproducesTheSource) {
    WaveformStore store;
    resetPredefined(store, 1);
    std::mt19937 random(1);
    WaveformRecord work;
    addNoise(store.slots[0], NoiseParams{0, false}, random, work);
    EXPECT_EQ(work.points, store.slots[0].points);
}

TEST(AddNoise, LevelFiveAddsMinusTwoToThree) {
    std::mt19937 random(2);
    WaveformRecord work;
    addNoise(untitledWaveform(), NoiseParams{5, false}, random, work);
    EXPECT_EQ(extremes(work), (std::pair<int, int>{126, 131}));
}

TEST(AddNoise, NormalizedResultSpansTheWholeRange) {
    std::mt19937 random(3);
    WaveformRecord work;
    addNoise(untitledWaveform(), NoiseParams{3, true}, random, work);
    EXPECT_EQ(extremes(work), (std::pair<int, int>{1, 255}));

    WaveformRecord flat;
    addNoise(untitledWaveform(), NoiseParams{0, true}, random, flat);
    EXPECT_EQ(extremes(flat), (std::pair<int, int>{1, 1})) << "no range: all at the bottom";

    WaveformRecord loud;
    addNoise(untitledWaveform(), NoiseParams{1000, false}, random, loud);
    EXPECT_EQ(extremes(loud), (std::pair<int, int>{1, 255})) << "limited";
}

TEST(AddNoise, NegativeLevelIsRefusedAndTheBlockStored) {
    std::mt19937 random(4);
    WaveformRecord work = untitledWaveform();
    try {
        addNoise(untitledWaveform(), NoiseParams{-1, false}, random, work);
        FAIL();
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "Nespravna hodnota v ukazovateli level");
    }
    finishNoise(untitledWaveform(), NoiseParams{9, true}, random, work);
    EXPECT_EQ(work.generatorKind, kGeneratorNoise);
    EXPECT_EQ(work.params, (std::vector<std::uint8_t>{9, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(decodeNoiseParams(work.params), (NoiseParams{9, true}));
}
