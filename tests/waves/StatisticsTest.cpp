#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"

namespace {

WaveformRecord waveformOf(double (*f)(double)) {
    WaveformRecord record;
    record.points.resize(kWavePointCount);
    for (int i = 0; i < kWavePointCount; ++i) {
        const double t = 2 * std::numbers::pi * i / kWavePointCount;
        record.points[i] = static_cast<std::uint8_t>(std::lround(f(t)));
    }
    return record;
}

// The plain transform the fast one must agree with, one bin at a time.
std::complex<long double> directBin(const std::vector<std::uint8_t>& samples, std::size_t k) {
    std::complex<long double> sum = 0;
    const long double n = static_cast<long double>(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const long double angle = -2 * std::numbers::pi_v<long double> *
                                  static_cast<long double>((k * i) % samples.size()) / n;
        sum += static_cast<long double>(samples[i]) *
               std::complex<long double>(std::cos(angle), std::sin(angle));
    }
    return sum;
}

}  // namespace

TEST(Statistics, ConstantWaveform) {
    WaveformRecord record = untitledWaveform();
    computeStatistics(record);
    EXPECT_EQ(record.maxSample, 128);
    EXPECT_EQ(record.minSample, 128);
    EXPECT_EQ(record.peakToPeak, 0);
    EXPECT_EQ(record.meanSample, 128.0);
    EXPECT_EQ(record.harmonicCount, 1);
}

TEST(Statistics, EmptyRecordIsLeftAlone) {
    WaveformRecord record;
    record.maxSample = 77;
    record.harmonicCount = 9;
    computeStatistics(record);
    EXPECT_EQ(record.maxSample, 77);
    EXPECT_EQ(record.harmonicCount, 9);
}

TEST(Statistics, OtherLengthsGetNoSpectrum) {
    WaveformRecord record;
    record.points = {10, 20, 30, 41};
    record.harmonicCount = 50;
    computeStatistics(record);
    EXPECT_EQ(record.maxSample, 41);
    EXPECT_EQ(record.minSample, 10);
    EXPECT_EQ(record.peakToPeak, 31);
    EXPECT_DOUBLE_EQ(record.meanSample, 25.25);
    EXPECT_EQ(record.harmonicCount, 1);
}

TEST(Statistics, PredefinedSineAndSquare) {
    WaveformStore store;
    resetPredefined(store, 1);
    const WaveformRecord& sine = store.slots[0];
    EXPECT_EQ(sine.maxSample, 255);
    EXPECT_EQ(sine.minSample, 1);
    EXPECT_EQ(sine.peakToPeak, 254);
    EXPECT_EQ(sine.harmonicCount, 1);
    EXPECT_NEAR(sine.meanSample, 128, 0.01);
    // Odd harmonics at 1/k of the fundamental: 1/19 is above a twentieth, 1/21 below.
    EXPECT_EQ(store.slots[3].harmonicCount, 19);
}

TEST(Statistics, HighestHarmonicAboveATwentiethOfThePeak) {
    WaveformRecord pure37 = waveformOf([](double t) { return 128 + 120 * std::sin(37 * t); });
    computeStatistics(pure37);
    EXPECT_EQ(pure37.harmonicCount, 37);

    // The third harmonic at 4 % of the fundamental is below the threshold, at 6 % above it.
    WaveformRecord weak =
        waveformOf([](double t) { return 128 + 100 * std::sin(t) + 4 * std::sin(3 * t); });
    computeStatistics(weak);
    EXPECT_EQ(weak.harmonicCount, 1);
    WaveformRecord strong =
        waveformOf([](double t) { return 128 + 100 * std::sin(t) + 6 * std::sin(3 * t); });
    computeStatistics(strong);
    EXPECT_EQ(strong.harmonicCount, 3);

    // Bins above 8191 mirror the lower ones and are never reported.
    WaveformRecord alternating;
    alternating.points.resize(kWavePointCount);
    for (int i = 0; i < kWavePointCount; ++i)
        alternating.points[i] = i % 2 ? 1 : 255;
    computeStatistics(alternating);
    EXPECT_EQ(alternating.harmonicCount, 1) << "only the Nyquist bin carries energy";
}

TEST(Statistics, FastTransformAgreesWithTheDirectSum) {
    std::mt19937 random(745);
    std::uniform_int_distribution<int> level(1, 255);
    std::vector<std::uint8_t> samples(kWavePointCount);
    for (std::uint8_t& s : samples)
        s = static_cast<std::uint8_t>(level(random));

    SpectrumWorkArea workArea;
    workArea.transform(samples);
    for (std::size_t k : {0u, 1u, 2u, 3u, 100u, 4097u, 8191u, 8192u, 12000u, 16383u}) {
        const std::complex<long double> expected = directBin(samples, k);
        const std::complex<double> actual = workArea.bin(k);
        EXPECT_NEAR(actual.real(), static_cast<double>(expected.real()), 1e-3) << "bin " << k;
        EXPECT_NEAR(actual.imag(), static_cast<double>(expected.imag()), 1e-3) << "bin " << k;
        EXPECT_EQ(workArea.roundedMagnitude(k), std::llround(std::abs(expected))) << "bin " << k;
    }
}

TEST(Statistics, WorkAreaIsReusable) {
    WaveformStore store;
    resetPredefined(store, 3);
    SpectrumWorkArea workArea;
    WaveformRecord square = store.slots[3];
    WaveformRecord sine = store.slots[0];
    computeStatistics(square, workArea);
    computeStatistics(sine, workArea);
    EXPECT_EQ(sine.harmonicCount, 1) << "nothing of the previous transform is left over";
    computeStatistics(square, workArea);
    EXPECT_EQ(square.harmonicCount, store.slots[3].harmonicCount);
}
