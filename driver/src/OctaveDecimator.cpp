#include "OctaveDecimator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace q745drv {

namespace {

constexpr std::int64_t kPoints = kPointsPerWaveform;
constexpr std::int64_t kExactFloatLimit = 16777216;  // 2^24: every integer up to here is a float

// The output point for a block with average avg and extremes lmin..lmax: stretched towards the
// block's extreme in proportion to how close that extreme comes to the waveform's own. A
// constant waveform has no spread to divide by; its blocks are the constant.
std::uint8_t decimatedPoint(float avg, int lmin, int lmax, float mean, int gmin, int gmax) {
    long double value;
    if (avg > mean) {
        if (gmax - avg == 0.0f) return static_cast<std::uint8_t>(lmax);
        const long double spread = static_cast<long double>(gmax) - mean;
        if (!(spread > 0.0L)) return static_cast<std::uint8_t>(lmax);
        value = avg + (lmax - static_cast<long double>(avg)) *
                          (lmax - static_cast<long double>(mean)) / spread;
    } else {
        if (avg - gmin == 0.0f) return static_cast<std::uint8_t>(lmin);
        const long double spread = static_cast<long double>(mean) - gmin;
        if (!(spread > 0.0L)) return static_cast<std::uint8_t>(lmin);
        value = avg - (static_cast<long double>(avg) - lmin) *
                          (static_cast<long double>(mean) - lmin) / spread;
    }
    // Float sums may stray a hair outside the block's range; a point is a byte all the same.
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(roundHalfEven(value), 0, 255));
}

std::int64_t wrap(std::int64_t index) {
    return ((index % kPoints) + kPoints) % kPoints;
}

}  // namespace

std::int64_t roundHalfEven(long double x) {
    if (std::isnan(x)) return 0;
    const long double below = std::floor(x);
    const long double above = std::ceil(x);
    const long double toBelow = x - below;
    const long double toAbove = above - x;
    long double nearest;
    if (toBelow < toAbove)
        nearest = below;
    else if (toAbove < toBelow)
        nearest = above;
    else
        nearest = std::fmod(below, 2.0L) == 0.0L ? below : above;
    return static_cast<std::int64_t>(nearest);
}

OctaveDecimator::OctaveDecimator()
    : prefix_(kPoints + 1),
      chunkMax_(2 * kPoints),
      chunkMin_(2 * kPoints),
      forwardMax_(2 * kPoints),
      forwardMin_(2 * kPoints),
      backwardMax_(2 * kPoints),
      backwardMin_(2 * kPoints) {}

void OctaveDecimator::prepare(Waveform waveform) {
    w_ = waveform.data();
    const auto [low, high] = std::minmax_element(waveform.begin(), waveform.end());
    gmin_ = *low;
    gmax_ = *high;
    prefix_[0] = 0;
    for (std::int64_t i = 0; i < kPoints; ++i)
        prefix_[i + 1] = prefix_[i] + w_[i];
    // The total never exceeds 255 x 16384 < 2^24, so the float sum is exact.
    mean_ = static_cast<float>(prefix_[kPoints]) * (1.0f / 16384.0f);
}

std::int64_t OctaveDecimator::cyclicSum(std::int64_t start, std::int64_t count) const {
    const std::int64_t total = prefix_[kPoints];
    const std::int64_t rest = count % kPoints;
    std::int64_t sum = (count / kPoints) * total;
    if (start + rest <= kPoints)
        sum += prefix_[start + rest] - prefix_[start];
    else
        sum += (total - prefix_[start]) + prefix_[start + rest - kPoints];
    return sum;
}

float OctaveDecimator::floatSum(std::int64_t start, std::int64_t count) const {
    float sum = 0.0f;
    std::int64_t position = start;
    while (count > 0) {
        const std::int64_t run = std::min(count, kPoints - position);
        for (std::int64_t i = 0; i < run; ++i)
            sum += static_cast<float>(w_[position + i]);
        count -= run;
        position = 0;
    }
    return sum;
}

// Extremes over every window of `window` consecutive chunks (van Herk / Gil-Werman: maxima
// running forward and backward inside blocks of the window's length).
void OctaveDecimator::windowExtremes(std::int64_t chunk, std::int64_t window) {
    const std::int64_t chunks = kPoints / chunk;
    for (std::int64_t k = 0; k < chunks; ++k) {
        const auto [low, high] = std::minmax_element(w_ + k * chunk, w_ + (k + 1) * chunk);
        chunkMin_[k] = chunkMin_[k + chunks] = *low;
        chunkMax_[k] = chunkMax_[k + chunks] = *high;
    }
    const std::int64_t length = 2 * chunks;
    for (std::int64_t k = 0; k < length; ++k) {
        const bool blockStart = k % window == 0;
        forwardMax_[k] = blockStart ? chunkMax_[k] : std::max(forwardMax_[k - 1], chunkMax_[k]);
        forwardMin_[k] = blockStart ? chunkMin_[k] : std::min(forwardMin_[k - 1], chunkMin_[k]);
    }
    for (std::int64_t k = length - 1; k >= 0; --k) {
        const bool blockEnd = k == length - 1 || (k + 1) % window == 0;
        backwardMax_[k] = blockEnd ? chunkMax_[k] : std::max(backwardMax_[k + 1], chunkMax_[k]);
        backwardMin_[k] = blockEnd ? chunkMin_[k] : std::min(backwardMin_[k + 1], chunkMin_[k]);
    }
}

std::int64_t OctaveDecimator::decimateOctave(std::int64_t factor, std::int64_t phase, Octave out) {
    const std::int64_t gcd = std::int64_t{1}
                             << std::min(std::countr_zero(static_cast<std::uint64_t>(factor)), 14);
    const std::int64_t outputs = kPoints / gcd;
    const bool wholeWaveform = factor >= kPoints;
    const std::int64_t window = factor / gcd;
    if (!wholeWaveform) windowExtremes(gcd, window);

    for (std::int64_t i = 0; i < outputs; ++i) {
        const std::int64_t start = (i * factor) % kPoints;
        int lmax = gmax_;
        int lmin = gmin_;
        if (!wholeWaveform) {
            const std::int64_t first = start / gcd;
            const std::int64_t last = first + window - 1;
            lmax = std::max(backwardMax_[first], forwardMax_[last]);
            lmin = std::min(backwardMin_[first], forwardMin_[last]);
        }
        const std::int64_t exact = cyclicSum(start, factor);
        const float sum =
            exact <= kExactFloatLimit ? static_cast<float>(exact) : floatSum(start, factor);
        const auto avg = static_cast<float>(static_cast<long double>(sum) / factor);
        out[i] = decimatedPoint(avg, lmin, lmax, mean_, gmin_, gmax_);
    }
    for (std::int64_t k = outputs; k < kPoints; ++k)
        out[k] = out[k % outputs];
    return roundHalfEven(static_cast<long double>(phase) / factor);
}

void OctaveDecimator::buildOctaveSet(std::int32_t phase, std::int32_t step,
                                     std::span<std::uint8_t, kOctaveSetLength> out) {
    for (std::int32_t j = 0; j < kOctaveCount; ++j) {
        const std::int64_t factor = static_cast<std::int64_t>(step) << j;
        const std::int64_t offset = wrap(decimateOctave(factor, phase, octave_));
        std::uint8_t* block = out.data() + static_cast<std::size_t>(j) * kPoints;
        const std::size_t head = static_cast<std::size_t>(kPoints - offset);
        std::memcpy(block, octave_.data() + offset, head);
        std::memcpy(block + head, octave_.data(), static_cast<std::size_t>(offset));
    }
}

}  // namespace q745drv
