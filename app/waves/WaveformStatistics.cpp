#include "waves/WaveformStatistics.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

namespace {

constexpr std::size_t kPacked = kWavePointCount / 2;  // complex values of the half-size transform
constexpr std::uint32_t kPackedBits = 13;
static_assert(std::size_t{1} << kPackedBits == kPacked);

// The radix-4 passes after the first (which is folded into the gathering): their quarter sizes.
// Passes up to kLocalQuarter run block by block of kLocalBlock values, which stay in the first
// level cache; the last radix-4 pass and the radix-2 pass then run over the whole array.
constexpr std::size_t kQuarters[] = {4, 16, 64, 256, 1024};
constexpr std::size_t kLocalQuarter = 256;
constexpr std::size_t kLocalBlock = 1024;
constexpr std::size_t kRadix2Half = kPacked / 2;

std::uint32_t reverseBits(std::uint32_t index) {
    std::uint32_t reversed = 0;
    for (std::uint32_t bit = 0; bit < kPackedBits; ++bit)
        reversed |= ((index >> bit) & 1u) << (kPackedBits - 1 - bit);
    return reversed;
}

// exp(-2 pi i k / n), to full double precision.
void twiddle(std::size_t k, std::size_t n, double& re, double& im) {
    const long double angle = -2 * std::numbers::pi_v<long double> * static_cast<long double>(k) /
                              static_cast<long double>(n);
    re = static_cast<double>(std::cos(angle));
    im = static_cast<double>(std::sin(angle));
}

// Where the processor has wider vectors, further copies of the passes use them. The file is
// built without fused multiply-add, so every copy gives the same bits; the tests build it with
// Q745_ONE_STATISTICS_COPY for the plainest processor to compare with.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    !defined(Q745_ONE_STATISTICS_COPY)
#define Q745_WIDE_VECTORS \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define Q745_WIDE_VECTORS
#endif

// The butterflies of one block: four sub-transforms of `quarter` points, at r0/i0 .. r3/i3,
// become one transform of 4 x quarter points. w holds w^m, w^2m and w^3m for m < quarter,
// w = exp(-2 pi i / (4 quarter)). The four parts never overlap, which lets the loop run a
// vector at a time.
inline void radix4Block(double* __restrict r0, double* __restrict i0, double* __restrict r1,
                        double* __restrict i1, double* __restrict r2, double* __restrict i2,
                        double* __restrict r3, double* __restrict i3, std::size_t quarter,
                        const double* __restrict wRe, const double* __restrict wIm) {
    const double* w1Re = wRe;
    const double* w1Im = wIm;
    const double* w2Re = wRe + quarter;
    const double* w2Im = wIm + quarter;
    const double* w3Re = wRe + 2 * quarter;
    const double* w3Im = wIm + 2 * quarter;
    for (std::size_t m = 0; m < quarter; ++m) {
        const double p1Re = r1[m] * w2Re[m] - i1[m] * w2Im[m];
        const double p1Im = r1[m] * w2Im[m] + i1[m] * w2Re[m];
        const double p2Re = r2[m] * w1Re[m] - i2[m] * w1Im[m];
        const double p2Im = r2[m] * w1Im[m] + i2[m] * w1Re[m];
        const double p3Re = r3[m] * w3Re[m] - i3[m] * w3Im[m];
        const double p3Im = r3[m] * w3Im[m] + i3[m] * w3Re[m];
        const double s01Re = r0[m] + p1Re;
        const double s01Im = i0[m] + p1Im;
        const double d01Re = r0[m] - p1Re;
        const double d01Im = i0[m] - p1Im;
        const double s23Re = p2Re + p3Re;
        const double s23Im = p2Im + p3Im;
        const double d23Re = p2Re - p3Re;
        const double d23Im = p2Im - p3Im;
        r0[m] = s01Re + s23Re;
        i0[m] = s01Im + s23Im;
        r2[m] = s01Re - s23Re;
        i2[m] = s01Im - s23Im;
        r1[m] = d01Re + d23Im;
        i1[m] = d01Im - d23Re;
        r3[m] = d01Re - d23Im;
        i3[m] = d01Im + d23Re;
    }
}

// One radix-4 decimation-in-time pass over `count` values.
Q745_WIDE_VECTORS void radix4Pass(double* re, double* im, std::size_t count, std::size_t quarter,
                                  const double* wRe, const double* wIm) {
    for (std::size_t block = 0; block < count; block += 4 * quarter) {
        double* r = re + block;
        double* i = im + block;
        radix4Block(r, i, r + quarter, i + quarter, r + 2 * quarter, i + 2 * quarter,
                    r + 3 * quarter, i + 3 * quarter, quarter, wRe, wIm);
    }
}

// The samples, packed in pairs and read in bit-reversed order, go through the first radix-4
// pass (whose factors are all 1) on their way in.
void gatherFirstPass(const std::uint8_t* samples, const std::uint16_t* order, double* re,
                     double* im) {
    for (std::size_t p = 0; p < kPacked; p += 4) {
        const std::size_t a = 2 * std::size_t{order[p]};
        const std::size_t b = 2 * std::size_t{order[p + 1]};
        const std::size_t c = 2 * std::size_t{order[p + 2]};
        const std::size_t d = 2 * std::size_t{order[p + 3]};
        const double s01Re = double(samples[a]) + samples[b];
        const double s01Im = double(samples[a + 1]) + samples[b + 1];
        const double d01Re = double(samples[a]) - samples[b];
        const double d01Im = double(samples[a + 1]) - samples[b + 1];
        const double s23Re = double(samples[c]) + samples[d];
        const double s23Im = double(samples[c + 1]) + samples[d + 1];
        const double d23Re = double(samples[c]) - samples[d];
        const double d23Im = double(samples[c + 1]) - samples[d + 1];
        re[p] = s01Re + s23Re;
        im[p] = s01Im + s23Im;
        re[p + 2] = s01Re - s23Re;
        im[p + 2] = s01Im - s23Im;
        re[p + 1] = d01Re + d23Im;
        im[p + 1] = d01Im - d23Re;
        re[p + 3] = d01Re - d23Im;
        im[p + 3] = d01Im + d23Re;
    }
}

Q745_WIDE_VECTORS void radix2Pass(double* __restrict re, double* __restrict im,
                                  const double* __restrict wRe, const double* __restrict wIm) {
    double* r1 = re + kRadix2Half;
    double* i1 = im + kRadix2Half;
    for (std::size_t m = 0; m < kRadix2Half; ++m) {
        const double tRe = r1[m] * wRe[m] - i1[m] * wIm[m];
        const double tIm = r1[m] * wIm[m] + i1[m] * wRe[m];
        r1[m] = re[m] - tRe;
        i1[m] = im[m] - tIm;
        re[m] += tRe;
        im[m] += tIm;
    }
}

// Bins 0..8192 of the real samples from the transform Z of their packed pairs:
// X[k] = E[k] + W^k O[k] with E = (Z[k] + conj Z[M-k]) / 2, O = (Z[k] - conj Z[M-k]) / 2i.
Q745_WIDE_VECTORS void separate(const double* __restrict zRe, const double* __restrict zIm,
                                const double* __restrict wRe, const double* __restrict wIm,
                                double* __restrict xRe, double* __restrict xIm) {
    xRe[0] = zRe[0] + zIm[0];
    xIm[0] = 0;
    xRe[kPacked] = zRe[0] - zIm[0];
    xIm[kPacked] = 0;
    for (std::size_t k = 1; k < kPacked; ++k) {
        const double aRe = zRe[k];
        const double aIm = zIm[k];
        const double bRe = zRe[kPacked - k];
        const double bIm = zIm[kPacked - k];
        const double eRe = 0.5 * (aRe + bRe);
        const double eIm = 0.5 * (aIm - bIm);
        const double oRe = 0.5 * (aIm + bIm);
        const double oIm = -0.5 * (aRe - bRe);
        xRe[k] = eRe + (wRe[k] * oRe - wIm[k] * oIm);
        xIm[k] = eIm + (wRe[k] * oIm + wIm[k] * oRe);
    }
}

// The magnitude rounded to the nearest integer, ties to even; in doubles throughout, so that
// the loops using it run a vector at a time.
inline std::int32_t roundedMagnitude(double re, double im) {
    const double magnitude = std::sqrt(re * re + im * im);
    const double lower = std::floor(magnitude);
    const double rest = magnitude - lower;
    const double half = 0.5 * lower;
    const bool odd = std::floor(half) != half;
    const double rounded = rest > 0.5 || (rest == 0.5 && odd) ? lower + 1 : lower;
    return static_cast<std::int32_t>(rounded);
}

// Every bin's rounded magnitude; returns the largest except bin 0's.
Q745_WIDE_VECTORS std::int32_t roundedMagnitudes(const double* __restrict re,
                                                 const double* __restrict im,
                                                 std::int32_t* __restrict out, std::size_t count) {
    out[0] = roundedMagnitude(re[0], im[0]);
    std::int32_t peak = 0;
    for (std::size_t k = 1; k < count; ++k) {
        out[k] = roundedMagnitude(re[k], im[k]);
        peak = std::max(peak, out[k]);
    }
    return peak;
}

struct SampleSummary {
    std::uint8_t lowest = 255;
    std::uint8_t highest = 0;
    std::int64_t sum = 0;
};

Q745_WIDE_VECTORS SampleSummary summarize(const std::uint8_t* samples, std::size_t count) {
    // Partial sums of up to 2^16 samples fit 32 bits, which keeps more of them in a vector.
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    SampleSummary summary;
    for (std::size_t first = 0; first < count; first += kChunk) {
        const std::size_t last = std::min(count, first + kChunk);
        std::uint8_t lowest = summary.lowest;
        std::uint8_t highest = summary.highest;
        std::uint32_t sum = 0;
        for (std::size_t i = first; i < last; ++i) {
            lowest = std::min(lowest, samples[i]);
            highest = std::max(highest, samples[i]);
            sum += samples[i];
        }
        summary.lowest = lowest;
        summary.highest = highest;
        summary.sum += sum;
    }
    return summary;
}

}  // namespace

SpectrumWorkArea::SpectrumWorkArea()
    : re_(kPacked),
      im_(kPacked),
      spectrumRe_(kHalf + 1),
      spectrumIm_(kHalf + 1),
      magnitudes_(kHalf + 1),
      gatherOrder_(kPacked),
      separateRe_(kPacked),
      separateIm_(kPacked) {
    for (std::uint32_t p = 0; p < kPacked; ++p)
        gatherOrder_[p] = static_cast<std::uint16_t>(reverseBits(p));
    for (std::size_t quarter : kQuarters) {
        for (std::size_t power = 1; power <= 3; ++power) {
            for (std::size_t m = 0; m < quarter; ++m) {
                double re = 0;
                double im = 0;
                twiddle(power * m, 4 * quarter, re, im);
                twiddleRe_.push_back(re);
                twiddleIm_.push_back(im);
            }
        }
    }
    for (std::size_t m = 0; m < kRadix2Half; ++m) {
        double re = 0;
        double im = 0;
        twiddle(m, kPacked, re, im);
        twiddleRe_.push_back(re);
        twiddleIm_.push_back(im);
    }
    for (std::size_t k = 0; k < kPacked; ++k)
        twiddle(k, kPoints, separateRe_[k], separateIm_[k]);
}

void SpectrumWorkArea::transform(std::span<const std::uint8_t> samples) {
    assert(samples.size() == kPoints);
    double* re = re_.data();
    double* im = im_.data();
    gatherFirstPass(samples.data(), gatherOrder_.data(), re, im);
    std::size_t twiddles = 0;
    for (std::size_t quarter : kQuarters) {
        const double* wRe = twiddleRe_.data() + twiddles;
        const double* wIm = twiddleIm_.data() + twiddles;
        if (quarter <= kLocalQuarter) {
            for (std::size_t block = 0; block < kPacked; block += kLocalBlock)
                radix4Pass(re + block, im + block, kLocalBlock, quarter, wRe, wIm);
        } else {
            radix4Pass(re, im, kPacked, quarter, wRe, wIm);
        }
        twiddles += 3 * quarter;
    }
    radix2Pass(re, im, twiddleRe_.data() + twiddles, twiddleIm_.data() + twiddles);
    separate(re, im, separateRe_.data(), separateIm_.data(), spectrumRe_.data(),
             spectrumIm_.data());
    peak_ = roundedMagnitudes(spectrumRe_.data(), spectrumIm_.data(), magnitudes_.data(),
                              magnitudes_.size());
}

std::int32_t SpectrumWorkArea::highestSignificantHarmonic() const {
    const std::int32_t threshold = peak_ / 20;
    for (std::size_t k = kHalf; k-- > 0;) {
        if (magnitudes_[k] > threshold) return k == 0 ? 1 : static_cast<std::int32_t>(k);
    }
    return 1;
}

void computeStatistics(WaveformRecord& record) {
    thread_local SpectrumWorkArea workArea;
    computeStatistics(record, workArea);
}

void computeStatistics(WaveformRecord& record, SpectrumWorkArea& workArea) {
    if (record.isEmpty()) return;
    const SampleSummary summary = summarize(record.points.data(), record.points.size());
    record.maxSample = summary.highest;
    record.minSample = summary.lowest;
    record.peakToPeak = record.maxSample - record.minSample;
    record.meanSample = static_cast<double>(summary.sum) / record.pointCount();
    record.harmonicCount = 1;
    if (record.pointCount() != kWavePointCount) return;
    workArea.transform(record.points);
    record.harmonicCount = workArea.highestSignificantHarmonic();
}
