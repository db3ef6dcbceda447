#include "waves/WaveformStatistics.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "core/Rounding.h"

namespace {

constexpr std::uint32_t kBits = 14;
static_assert(1u << kBits == kWavePointCount);

std::uint32_t reverseBits(std::uint32_t index) {
    std::uint32_t reversed = 0;
    for (std::uint32_t bit = 0; bit < kBits; ++bit)
        reversed |= ((index >> bit) & 1u) << (kBits - 1 - bit);
    return reversed;
}

}  // namespace

SpectrumWorkArea::SpectrumWorkArea()
    : values_(kWavePointCount),
      reversedIndices_(kWavePointCount),
      magnitudes_(kWavePointCount),
      twiddles_(kWavePointCount / 2) {
    for (std::uint32_t i = 0; i < reversedIndices_.size(); ++i)
        reversedIndices_[i] = reverseBits(i);
}

void SpectrumWorkArea::transform(std::span<const std::uint8_t> samples) {
    assert(samples.size() == values_.size());
    const std::size_t n = values_.size();
    for (std::size_t i = 0; i < n; ++i)
        values_[reversedIndices_[i]] = {double(samples[i]), 0};
    for (std::size_t half = 1; half < n; half *= 2) {
        // The running twiddle of the stage, advanced by complex multiplication; taken into a
        // table first so that the butterflies then walk the values in order.
        const double angle = std::numbers::pi / static_cast<double>(half);
        const Complex step = {std::cos(angle), -std::sin(angle)};
        Complex w = {1, 0};
        for (std::size_t m = 0; m < half; ++m) {
            twiddles_[m] = w;
            w = {w.re * step.re - w.im * step.im, w.re * step.im + w.im * step.re};
        }
        for (std::size_t block = 0; block < n; block += 2 * half) {
            for (std::size_t m = 0; m < half; ++m) {
                Complex& a = values_[block + m];
                Complex& b = values_[block + m + half];
                const Complex& t = twiddles_[m];
                const double tRe = t.re * b.re - t.im * b.im;
                const double tIm = t.re * b.im + t.im * b.re;
                b.re = a.re - tRe;
                b.im = a.im - tIm;
                a.re += tRe;
                a.im += tIm;
            }
        }
    }
    for (std::size_t k = 0; k < n; ++k) {
        const Complex& v = values_[k];
        magnitudes_[k] =
            static_cast<std::int64_t>(roundHalfEven(std::sqrt(v.re * v.re + v.im * v.im)));
    }
}

std::int32_t SpectrumWorkArea::highestSignificantHarmonic() const {
    std::int64_t peak = 0;
    for (std::size_t k = 1; k < magnitudes_.size(); ++k)
        peak = std::max(peak, magnitudes_[k]);
    const std::int64_t threshold = peak / 20;
    for (std::size_t k = magnitudes_.size() / 2; k-- > 0;) {
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
    const auto [lowest, highest] = std::minmax_element(record.points.begin(), record.points.end());
    record.maxSample = *highest;
    record.minSample = *lowest;
    record.peakToPeak = record.maxSample - record.minSample;
    std::int64_t sum = 0;
    for (std::uint8_t sample : record.points)
        sum += sample;
    record.meanSample = static_cast<double>(sum) / record.pointCount();
    record.harmonicCount = 1;
    if (record.pointCount() != kWavePointCount) return;
    workArea.transform(record.points);
    record.harmonicCount = workArea.highestSignificantHarmonic();
}
