// The octave decimation against a direct reference: float sums taken point by point, extremes
// by scanning each block. The library's version takes shortcuts that must give the same bits.
#include "OctaveDecimator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "DriverOnBench.h"

namespace {

using Wave = std::vector<std::uint8_t>;
constexpr std::int64_t kPoints = 16384;

std::int64_t nearestEven(long double x) {
    std::fesetround(FE_TONEAREST);
    return static_cast<std::int64_t>(std::nearbyint(x));
}

struct Decimated {
    Wave points;
    std::int64_t offset;
};

Decimated referenceDecimate(const Wave& w, std::int64_t c, std::int64_t p) {
    int gmax = 0;
    int gmin = 255;
    float total = 0.0f;
    for (std::uint8_t v : w) {
        gmax = std::max<int>(gmax, v);
        gmin = std::min<int>(gmin, v);
        total += v;
    }
    const float mean = total * (1.0f / 16384.0f);
    const std::int64_t outputs = kPoints / std::gcd(c, kPoints);
    Wave out(kPoints);
    std::int64_t position = 0;
    for (std::int64_t i = 0; i < outputs; ++i) {
        float sum = 0.0f;
        int lmax = 0;
        int lmin = 255;
        for (std::int64_t k = 0; k < c; ++k) {
            const int v = w[static_cast<std::size_t>(position)];
            sum += static_cast<float>(v);
            lmax = std::max(lmax, v);
            lmin = std::min(lmin, v);
            position = (position + 1) % kPoints;
        }
        const auto avg = static_cast<float>(static_cast<long double>(sum) / c);
        // A float sum of a constant waveform may stray from it; its blocks are the constant.
        long double value;
        if (avg > mean) {
            if (gmax - avg == 0.0f || gmax == mean)
                value = lmax;
            else
                value = avg + (lmax - static_cast<long double>(avg)) *
                                  (lmax - static_cast<long double>(mean)) /
                                  (static_cast<long double>(gmax) - mean);
        } else {
            if (avg - gmin == 0.0f || gmin == mean)
                value = lmin;
            else
                value = avg - (static_cast<long double>(avg) - lmin) *
                                  (static_cast<long double>(mean) - lmin) /
                                  (static_cast<long double>(mean) - gmin);
        }
        value = std::clamp<long double>(value, 0, 255);
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(nearestEven(value));
    }
    for (std::int64_t k = outputs; k < kPoints; ++k)
        out[static_cast<std::size_t>(k)] = out[static_cast<std::size_t>(k % outputs)];
    return {out, nearestEven(static_cast<long double>(p) / c)};
}

Decimated libraryDecimate(const Wave& w, std::int64_t c, std::int64_t p) {
    q745drv::OctaveDecimator decimator;
    decimator.prepare(std::span<const std::uint8_t, kPoints>(w.data(), kPoints));
    Wave out(kPoints);
    const std::int64_t offset =
        decimator.decimateOctave(c, p, std::span<std::uint8_t, kPoints>(out.data(), kPoints));
    return {out, offset};
}

Wave noise(unsigned seed, int low = 1, int high = 255) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(low, high);
    Wave wave(kPoints);
    for (auto& point : wave)
        point = static_cast<std::uint8_t>(value(random));
    return wave;
}

Wave square() {
    Wave wave(kPoints, 0);
    std::fill(wave.begin(), wave.begin() + kPoints / 2, 255);
    return wave;
}

Wave pulse() {
    Wave wave(kPoints, 128);
    wave[5000] = 255;
    wave[9000] = 1;
    return wave;
}

TEST(OctaveDecimator, MatchesTheReferenceForEveryKindOfFactor) {
    const std::vector<std::pair<const char*, Wave>> waves = {{"sine", sineWave()},
                                                             {"sine x7", sineWave(7)},
                                                             {"noise", noise(1)},
                                                             {"loud noise", noise(2, 240, 255)},
                                                             {"square", square()},
                                                             {"pulse", pulse()},
                                                             {"constant", Wave(kPoints, 77)},
                                                             {"full", Wave(kPoints, 255)}};
    // Powers of two, odd factors whose blocks wrap, factors of several passes, and those whose
    // float sums round: above 2^24, as 99 x 1024 loud points or 5 x 16384 points of 255 are,
    // while 4 x 16384 points of 255 stay just below.
    const std::int64_t factors[] = {
        1,     2,         3,         5,         64,        99,        99 * 8,    1000,     8192,
        16384, 99 * 1024, 99 * 2048, 99 * 4096, 99 * 8192, 3 * 16384, 4 * 16384, 5 * 16384};
    for (const auto& [name, wave] : waves) {
        for (std::int64_t factor : factors) {
            SCOPED_TRACE(std::string(name) + " factor " + std::to_string(factor));
            const Decimated expected = referenceDecimate(wave, factor, 4321);
            const Decimated actual = libraryDecimate(wave, factor, 4321);
            EXPECT_EQ(actual.offset, expected.offset);
            ASSERT_EQ(actual.points, expected.points);
        }
    }
}

TEST(OctaveDecimator, FactorOneLeavesTheWaveformAndThePhase) {
    const Wave wave = noise(3);
    const Decimated result = libraryDecimate(wave, 1, 8191);
    EXPECT_EQ(result.points, wave);
    EXPECT_EQ(result.offset, 8191);
}

TEST(OctaveDecimator, SquareWaveKeepsItsLevelsAndRepeatsAfterHalfTheOutputs) {
    const Decimated result = libraryDecimate(square(), 2, 0);
    for (std::int64_t i = 0; i < kPoints; ++i) {
        const int v = result.points[static_cast<std::size_t>(i)];
        ASSERT_TRUE(v == 0 || v == 255) << i;
    }
    EXPECT_EQ(result.points[0], 255);
    EXPECT_EQ(result.points[4095], 255);
    EXPECT_EQ(result.points[4096], 0);
    const Wave firstHalf(result.points.begin(), result.points.begin() + 8192);
    const Wave secondHalf(result.points.begin() + 8192, result.points.end());
    EXPECT_EQ(firstHalf, secondHalf);
}

TEST(OctaveDecimator, FactorThreeWalksThreeTimesThroughTheWaveform) {
    const Wave wave = sineWave();
    const Decimated result = libraryDecimate(wave, 3, 0);
    int peaks = 0;
    for (std::size_t i = 1; i + 1 < result.points.size(); ++i) {
        if (result.points[i] == 255 && result.points[i - 1] != 255) ++peaks;
    }
    EXPECT_EQ(peaks, 3);
    // Output i stands for the block from point 3i.
    for (std::size_t i = 0; i < result.points.size(); i += 97)
        EXPECT_NEAR(result.points[i], wave[(3 * i + 1) % kPoints], 2) << i;
}

TEST(OctaveDecimator, ShortPeaksSurviveDecimation) {
    const Decimated result = libraryDecimate(pulse(), 256, 0);
    EXPECT_EQ(result.points[5000 / 256], 255);
    EXPECT_EQ(result.points[9000 / 256], 1);
    EXPECT_EQ(result.points[0], 128);
}

TEST(OctaveDecimator, PhaseOffsetIsRoundedHalfToEven) {
    const Wave wave = sineWave();
    EXPECT_EQ(libraryDecimate(wave, 2, 5).offset, 2);
    EXPECT_EQ(libraryDecimate(wave, 2, 7).offset, 4);
    EXPECT_EQ(libraryDecimate(wave, 4, -6).offset, -2);
    EXPECT_EQ(libraryDecimate(wave, 3, 4).offset, 1);
}

TEST(OctaveDecimator, RoundHalfEven) {
    EXPECT_EQ(q745drv::roundHalfEven(0.5L), 0);
    EXPECT_EQ(q745drv::roundHalfEven(1.5L), 2);
    EXPECT_EQ(q745drv::roundHalfEven(2.5L), 2);
    EXPECT_EQ(q745drv::roundHalfEven(-0.5L), 0);
    EXPECT_EQ(q745drv::roundHalfEven(-1.5L), -2);
    EXPECT_EQ(q745drv::roundHalfEven(2.4999L), 2);
    EXPECT_EQ(q745drv::roundHalfEven(2.5001L), 3);
    EXPECT_EQ(q745drv::roundHalfEven(7.0L), 7);
}

Wave octaveSet(const Wave& wave, std::int32_t phase, std::int32_t step) {
    q745drv::OctaveDecimator decimator;
    decimator.prepare(std::span<const std::uint8_t, kPoints>(wave.data(), kPoints));
    Wave set(static_cast<std::size_t>(q745drv::kOctaveSetLength));
    decimator.buildOctaveSet(
        phase, step, std::span<std::uint8_t, q745drv::kOctaveSetLength>(set.data(), set.size()));
    return set;
}

std::uint8_t at(const Wave& set, int octave, std::int64_t index) {
    return set[static_cast<std::size_t>(octave * kPoints +
                                        ((index % kPoints) + kPoints) % kPoints)];
}

TEST(OctaveSet, PhaseRotatesEachOctaveByItsShareOfPoints) {
    const Wave wave = noise(4);
    const Wave plain = octaveSet(wave, 0, 1);
    const Wave shifted = octaveSet(wave, 8192, 1);
    for (std::int64_t i = 0; i < kPoints; i += 13) {
        ASSERT_EQ(at(shifted, 0, i), at(plain, 0, i + 8192)) << i;
        ASSERT_EQ(at(shifted, 13, i), at(plain, 13, i + 1)) << i;
        ASSERT_EQ(at(shifted, 5, i), at(plain, 5, i + 256)) << i;
    }
    // A negative phase rotates the other way.
    const Wave back = octaveSet(wave, -3, 1);
    EXPECT_EQ(at(back, 0, 0), at(plain, 0, kPoints - 3));
}

// The set as defined: each octave decimated by the reference, rotated by its offset.
Wave referenceOctaveSet(const Wave& wave, std::int32_t phase, std::int32_t step) {
    Wave set;
    for (int octave = 0; octave < q745drv::kOctaveCount; ++octave) {
        const Decimated decimated = referenceDecimate(wave, std::int64_t{step} << octave, phase);
        const std::int64_t offset = ((decimated.offset % kPoints) + kPoints) % kPoints;
        for (std::int64_t i = 0; i < kPoints; ++i)
            set.push_back(decimated.points[static_cast<std::size_t>((offset + i) % kPoints)]);
    }
    return set;
}

TEST(OctaveSet, EqualsTheReferenceByteForByte) {
    const std::vector<std::pair<const char*, Wave>> waves = {{"sine", sineWave()},
                                                             {"noise", noise(6)},
                                                             {"square", square()},
                                                             {"pulse", pulse()},
                                                             {"constant", Wave(kPoints, 200)}};
    for (const auto& [name, wave] : waves) {
        for (std::int32_t step : {1, 2, 3, 99}) {
            SCOPED_TRACE(std::string(name) + " step " + std::to_string(step));
            ASSERT_EQ(octaveSet(wave, 1000, step), referenceOctaveSet(wave, 1000, step));
        }
    }
    for (std::int32_t phase : {0, -3, 8191, 16385, -20000}) {
        SCOPED_TRACE("phase " + std::to_string(phase));
        ASSERT_EQ(octaveSet(noise(7), phase, 1), referenceOctaveSet(noise(7), phase, 1));
    }
}

TEST(OctaveSet, OctavesAreDecimatedByStepTimesPowersOfTwo) {
    const Wave wave = noise(5);
    const Wave set = octaveSet(wave, 1000, 3);
    for (int octave : {0, 4, 13}) {
        const std::int64_t factor = std::int64_t{3} << octave;
        const Decimated expected = referenceDecimate(wave, factor, 1000);
        const std::int64_t offset = ((expected.offset % kPoints) + kPoints) % kPoints;
        for (std::int64_t i = 0; i < kPoints; i += 7)
            ASSERT_EQ(at(set, octave, i),
                      expected.points[static_cast<std::size_t>((offset + i) % kPoints)])
                << octave << " " << i;
    }
}

}  // namespace
