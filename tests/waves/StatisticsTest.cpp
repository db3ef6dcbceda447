#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>

#include "core/Rounding.h"

#include "TempFolder.h"
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

// The statistics as first built, plainly: extremes and mean, then a 16384-point radix-2
// transform in place after a bit-reversed reordering, each stage's twiddle advanced by complex
// multiplication, every bin's magnitude rounded. The fast version must give the same results.
struct ReferenceStatistics {
    WaveformRecord record;
    std::vector<std::int64_t> magnitudes;
};

ReferenceStatistics referenceStatistics(const std::vector<std::uint8_t>& samples) {
    ReferenceStatistics result;
    WaveformRecord& r = result.record;
    r.points = samples;
    const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
    r.maxSample = *highest;
    r.minSample = *lowest;
    r.peakToPeak = r.maxSample - r.minSample;
    std::int64_t sum = 0;
    for (std::uint8_t sample : samples)
        sum += sample;
    r.meanSample = static_cast<double>(sum) / r.pointCount();

    const std::size_t n = samples.size();
    std::vector<std::complex<double>> v(n);
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        v[j] = samples[i];
        for (std::size_t bit = n / 2; (j ^= bit) < bit; bit /= 2) {
        }
    }
    for (std::size_t half = 1; half < n; half *= 2) {
        const double angle = std::numbers::pi / static_cast<double>(half);
        const std::complex<double> step(std::cos(angle), -std::sin(angle));
        std::complex<double> w = 1;
        for (std::size_t m = 0; m < half; ++m, w *= step) {
            for (std::size_t block = 0; block < n; block += 2 * half) {
                const std::complex<double> t = w * v[block + m + half];
                v[block + m + half] = v[block + m] - t;
                v[block + m] += t;
            }
        }
    }
    std::int64_t peak = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double magnitude = std::sqrt(v[k].real() * v[k].real() + v[k].imag() * v[k].imag());
        result.magnitudes.push_back(static_cast<std::int64_t>(roundHalfEven(magnitude)));
        if (k > 0) peak = std::max(peak, result.magnitudes.back());
    }
    r.harmonicCount = 1;
    for (std::size_t k = n / 2; k-- > 0;) {
        if (result.magnitudes[k] > peak / 20) {
            r.harmonicCount = k == 0 ? 1 : static_cast<std::int32_t>(k);
            break;
        }
    }
    return result;
}

// Random records of the kinds the editors and imports make: noise over the whole range or a
// narrow one, sums of a few harmonics, pulses of any duty, a level with rare spikes.
std::vector<std::uint8_t> randomRecord(std::mt19937& random, int kind) {
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<std::uint8_t> samples(kWavePointCount);
    const int low = std::uniform_int_distribution<int>(1, 128)(random);
    const int high = std::uniform_int_distribution<int>(low, 255)(random);
    std::uniform_int_distribution<int> level(low, high);
    const int harmonics[3] = {std::uniform_int_distribution<int>(1, 8191)(random),
                              std::uniform_int_distribution<int>(1, 64)(random),
                              std::uniform_int_distribution<int>(1, 8)(random)};
    const double weights[3] = {unit(random), unit(random), unit(random)};
    const int duty = std::uniform_int_distribution<int>(1, kWavePointCount - 1)(random);
    for (int i = 0; i < kWavePointCount; ++i) {
        double value = 0;
        switch (kind) {
            case 0:
                value = level(random);
                break;
            case 1: {
                const double t = 2 * std::numbers::pi * i / kWavePointCount;
                for (int h = 0; h < 3; ++h)
                    value += weights[h] * std::sin(harmonics[h] * t);
                value = 128 + 127 * value / (weights[0] + weights[1] + weights[2]);
                break;
            }
            case 2:
                value = i < duty ? high : low;
                break;
            default:
                value = unit(random) < 0.001 ? high : low;
        }
        samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(value));
    }
    return samples;
}

void expectReferenceStatistics(const std::vector<std::uint8_t>& samples, SpectrumWorkArea& workArea,
                               const std::string& what) {
    SCOPED_TRACE(what);
    const ReferenceStatistics expected = referenceStatistics(samples);
    WaveformRecord actual;
    actual.points = samples;
    computeStatistics(actual, workArea);
    ASSERT_EQ(actual, expected.record);
    for (std::size_t k = 0; k < samples.size(); ++k)
        ASSERT_EQ(workArea.roundedMagnitude(k), expected.magnitudes[k]) << "bin " << k;
}

}  // namespace

TEST(Statistics, EqualTheReferenceOnThePredefinedAndRandomWaveforms) {
    SpectrumWorkArea workArea;
    WaveformStore store;
    resetPredefined(store, 17);
    for (int slot = 0; slot < 5; ++slot)
        expectReferenceStatistics(store.slots[slot].points, workArea, store.slots[slot].name());
    expectReferenceStatistics(untitledWaveform().points, workArea, "untitled");
    std::mt19937 random(2024);
    for (int round = 0; round < 1000; ++round)
        expectReferenceStatistics(randomRecord(random, round % 4), workArea,
                                  "random record " + std::to_string(round));
}

#ifdef PLAIN_STATISTICS
// The processor picks the copy of the transform's passes for its vector width; every copy must
// give the plain copy's bits, so that a waveform's statistics are the same on every machine.
TEST(Statistics, CopyThisProcessorPicksGivesThePlainCopysBits) {
    std::vector<std::vector<std::uint8_t>> records;
    WaveformStore store;
    resetPredefined(store, 5);
    for (int slot = 0; slot < 5; ++slot)
        records.push_back(store.slots[slot].points);
    std::mt19937 random(99);
    for (int round = 0; round < 40; ++round)
        records.push_back(randomRecord(random, round % 4));
    TempFolder folder;
    {
        std::ofstream in(folder / "records", std::ios::binary);
        for (const std::vector<std::uint8_t>& record : records)
            in.write(reinterpret_cast<const char*>(record.data()), kWavePointCount);
    }
    const std::string command = std::string(PLAIN_STATISTICS) + " '" +
                                (folder / "records").string() + "' '" +
                                (folder / "spectra").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::ifstream plain(folder / "spectra", std::ios::binary);
    SpectrumWorkArea workArea;
    for (std::size_t r = 0; r < records.size(); ++r) {
        workArea.transform(records[r]);
        for (std::size_t k = 0; k <= kWavePointCount / 2; ++k) {
            double parts[2] = {};
            std::int64_t magnitude = -1;
            plain.read(reinterpret_cast<char*>(parts), sizeof parts);
            plain.read(reinterpret_cast<char*>(&magnitude), sizeof magnitude);
            ASSERT_TRUE(plain) << "record " << r;
            const double own[2] = {workArea.bin(k).real(), workArea.bin(k).imag()};
            ASSERT_EQ(std::memcmp(own, parts, sizeof own), 0) << "record " << r << ", bin " << k;
            ASSERT_EQ(workArea.roundedMagnitude(k), magnitude) << "record " << r << ", bin " << k;
        }
    }
}
#endif

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
