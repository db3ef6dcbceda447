#include "waves/WaveformStatistics.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "Rounding.h"

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

SpectrumWorkArea::SpectrumWorkArea() : entries_(kWavePointCount) {
    for (std::uint32_t i = 0; i < entries_.size(); ++i)
        entries_[i].reversedIndex = reverseBits(i);
}

void SpectrumWorkArea::transform(std::span<const std::uint8_t> samples) {
    assert(samples.size() == entries_.size());
    const std::size_t n = entries_.size();
    for (std::size_t i = 0; i < n; ++i) {
        Entry& target = entries_[entries_[i].reversedIndex];
        target.re = samples[i];
        target.im = 0;
    }
    for (std::size_t half = 1; half < n; half *= 2) {
        const double angle = std::numbers::pi / static_cast<double>(half);
        const double stepRe = std::cos(angle);
        const double stepIm = -std::sin(angle);
        double wRe = 1;
        double wIm = 0;
        for (std::size_t m = 0; m < half; ++m) {
            for (std::size_t k = m; k < n; k += 2 * half) {
                Entry& a = entries_[k];
                Entry& b = entries_[k + half];
                const double tRe = wRe * b.re - wIm * b.im;
                const double tIm = wRe * b.im + wIm * b.re;
                b.re = a.re - tRe;
                b.im = a.im - tIm;
                a.re += tRe;
                a.im += tIm;
            }
            const double nextRe = wRe * stepRe - wIm * stepIm;
            wIm = wRe * stepIm + wIm * stepRe;
            wRe = nextRe;
        }
    }
    for (Entry& entry : entries_)
        entry.magnitude = static_cast<std::int64_t>(
            roundHalfEven(std::sqrt(entry.re * entry.re + entry.im * entry.im)));
}

std::int32_t SpectrumWorkArea::highestSignificantHarmonic() const {
    std::int64_t peak = 0;
    for (std::size_t k = 1; k < entries_.size(); ++k)
        peak = std::max(peak, entries_[k].magnitude);
    const std::int64_t threshold = peak / 20;
    for (std::size_t k = entries_.size() / 2; k-- > 0;) {
        if (entries_[k].magnitude > threshold) return k == 0 ? 1 : static_cast<std::int32_t>(k);
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
