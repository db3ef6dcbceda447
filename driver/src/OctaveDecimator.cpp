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
// The stretched value, evaluated in the precision of T.
template <typename T>
T stretched(float avg, int lmin, int lmax, float mean, int gmin, int gmax) {
    if (avg > mean)
        return avg + (lmax - static_cast<T>(avg)) * (lmax - static_cast<T>(mean)) /
                         (static_cast<T>(gmax) - mean);
    return avg - (static_cast<T>(avg) - lmin) * (static_cast<T>(mean) - lmin) /
                     (static_cast<T>(mean) - gmin);
}

std::uint8_t decimatedPoint(float avg, int lmin, int lmax, float mean, int gmin, int gmax) {
    if (avg > mean) {
        if (gmax - avg == 0.0f || !(gmax - mean > 0.0f)) return static_cast<std::uint8_t>(lmax);
    } else {
        if (avg - gmin == 0.0f || !(mean - gmin > 0.0f)) return static_cast<std::uint8_t>(lmin);
    }
    // The value is defined in extended precision. Double precision lands within 1e-12 of it,
    // so it rounds the same unless it comes within a hair of a tie; only then is the slower
    // extended evaluation needed.
    std::int64_t point;
    const double quick = stretched<double>(avg, lmin, lmax, mean, gmin, gmax);
    const double fraction = quick - std::floor(quick);
    if (std::fabs(fraction - 0.5) > 1e-9)
        point = static_cast<std::int64_t>(std::floor(quick)) + (fraction > 0.5 ? 1 : 0);
    else
        point = roundHalfEven(stretched<long double>(avg, lmin, lmax, mean, gmin, gmax));
    // Float sums may stray a hair outside the block's range; a point is a byte all the same.
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(point, 0, 255));
}

std::int64_t wrap(std::int64_t index) {
    return ((index % kPoints) + kPoints) % kPoints;
}

}  // namespace

std::int64_t roundHalfEven(long double x) {
    if (std::isnan(x)) return 0;
    // llrint is the nearest integer in the default rounding mode and a neighbour in any other;
    // it avoids switching the rounding mode for each conversion.
    std::int64_t nearest = std::llrint(x);
    long double rest = x - static_cast<long double>(nearest);
    if (rest > 0.5L) {
        ++nearest;
        rest -= 1.0L;
    } else if (rest < -0.5L) {
        --nearest;
        rest += 1.0L;
    }
    if ((nearest & 1) != 0 && rest == 0.5L) ++nearest;
    if ((nearest & 1) != 0 && rest == -0.5L) --nearest;
    return nearest;
}

OctaveDecimator::OctaveDecimator()
    : prefix_(kPoints + 1),
      sums_(kPoints),
      pointsAsFloat_(kPoints),
      levelMax_(2 * kPoints),
      levelMin_(2 * kPoints),
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
    for (std::int64_t i = 0; i < kPoints; ++i) {
        prefix_[i + 1] = prefix_[i] + w_[i];
        pointsAsFloat_[static_cast<std::size_t>(i)] = w_[i];
    }
    // Extremes of aligned chunks of 2^level points, each level from the one below.
    std::copy(waveform.begin(), waveform.end(), levelMax_.begin());
    std::copy(waveform.begin(), waveform.end(), levelMin_.begin());
    for (int level = 1; level <= 14; ++level) {
        const std::size_t below = levelOffset(level - 1);
        const std::size_t here = levelOffset(level);
        for (std::size_t k = 0; k < (static_cast<std::size_t>(kPoints) >> level); ++k) {
            levelMax_[here + k] = std::max(levelMax_[below + 2 * k], levelMax_[below + 2 * k + 1]);
            levelMin_[here + k] = std::min(levelMin_[below + 2 * k], levelMin_[below + 2 * k + 1]);
        }
    }
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

std::int64_t OctaveDecimator::exactStretch(std::int64_t start, std::int64_t count) const {
    std::int64_t exact = 0;
    std::int64_t tooMany = count + 1;
    while (tooMany - exact > 1) {
        const std::int64_t middle = exact + (tooMany - exact) / 2;
        if (cyclicSum(start, middle) <= kExactFloatLimit)
            exact = middle;
        else
            tooMany = middle;
    }
    return exact;
}

// The running float sum is exact while it stays within 2^24, so that stretch comes from the
// prefix sums; the rest is added point by point, in order. The outputs' sums do not depend on
// each other, so several run side by side; a finished one adds zeros, which changes nothing.
template <int Lanes>
void OctaveDecimator::floatSums(std::int64_t factor, std::int64_t outputs) {
    static const std::array<float, kPoints> zeros{};
    for (std::int64_t first = 0; first < outputs; first += Lanes) {
        std::array<float, Lanes> sum{};
        std::array<std::int64_t, Lanes> position{};
        std::array<std::int64_t, Lanes> remaining{};
        for (int lane = 0; lane < Lanes; ++lane) {
            const std::int64_t start = ((first + lane) * factor) % kPoints;
            const std::int64_t exact = exactStretch(start, factor);
            sum[lane] = static_cast<float>(cyclicSum(start, exact));
            position[lane] = (start + exact) % kPoints;
            remaining[lane] = factor - exact;
        }
        while (true) {
            std::int64_t run = kPoints;
            std::array<const float*, Lanes> points{};
            bool busy = false;
            for (int lane = 0; lane < Lanes; ++lane) {
                if (remaining[lane] == 0) {
                    points[lane] = zeros.data();
                    continue;
                }
                busy = true;
                points[lane] = pointsAsFloat_.data() + position[lane];
                run = std::min({run, remaining[lane], kPoints - position[lane]});
            }
            if (!busy) break;
            for (std::int64_t k = 0; k < run; ++k) {
                for (int lane = 0; lane < Lanes; ++lane)
                    sum[lane] += points[lane][k];
            }
            for (int lane = 0; lane < Lanes; ++lane) {
                if (remaining[lane] == 0) continue;
                remaining[lane] -= run;
                position[lane] = (position[lane] + run) % kPoints;
            }
        }
        for (int lane = 0; lane < Lanes; ++lane)
            sums_[static_cast<std::size_t>(first + lane)] = sum[lane];
    }
}

// Extremes over every window of `window` consecutive chunks of 2^level points (van Herk /
// Gil-Werman: extremes running forward and backward inside blocks of the window's length, over
// the chunk sequence taken twice so that windows may wrap).
void OctaveDecimator::windowExtremes(int level, std::int64_t window) {
    const std::int64_t chunks = kPoints >> level;
    const std::uint8_t* chunkMax = levelMax_.data() + levelOffset(level);
    const std::uint8_t* chunkMin = levelMin_.data() + levelOffset(level);
    const std::int64_t length = 2 * chunks;
    std::int64_t position = 0;  // within the block of `window` chunks
    for (std::int64_t k = 0; k < length; ++k) {
        const std::int64_t chunk = k < chunks ? k : k - chunks;
        const bool blockStart = position == 0;
        forwardMax_[k] =
            blockStart ? chunkMax[chunk] : std::max(forwardMax_[k - 1], chunkMax[chunk]);
        forwardMin_[k] =
            blockStart ? chunkMin[chunk] : std::min(forwardMin_[k - 1], chunkMin[chunk]);
        if (++position == window) position = 0;
    }
    position = (length - 1) % window;
    for (std::int64_t k = length - 1; k >= 0; --k) {
        const std::int64_t chunk = k < chunks ? k : k - chunks;
        const bool blockEnd = k == length - 1 || position == window - 1;
        backwardMax_[k] =
            blockEnd ? chunkMax[chunk] : std::max(backwardMax_[k + 1], chunkMax[chunk]);
        backwardMin_[k] =
            blockEnd ? chunkMin[chunk] : std::min(backwardMin_[k + 1], chunkMin[chunk]);
        position = position == 0 ? window - 1 : position - 1;
    }
}

std::int64_t OctaveDecimator::decimateOctave(std::int64_t factor, std::int64_t phase, Octave out) {
    const std::int64_t offset = roundHalfEven(static_cast<long double>(phase) / factor);
    // One point per output gives the waveform itself.
    if (factor == 1) {
        std::memcpy(out.data(), w_, kPoints);
        return offset;
    }
    // gcd(factor, 16384) = 2^level: the outputs start on its multiples.
    const int level = std::min(std::countr_zero(static_cast<std::uint64_t>(factor)), 14);
    const std::int64_t outputs = kPoints >> level;
    const bool wholeWaveform = factor >= kPoints;
    const std::int64_t window = factor >> level;
    if (!wholeWaveform && window > 1) windowExtremes(level, window);
    const std::uint8_t* chunkMax = levelMax_.data() + levelOffset(level);
    const std::uint8_t* chunkMin = levelMin_.data() + levelOffset(level);
    // Sums that may pass 2^24 need float arithmetic; the others are exact integers.
    const bool floatArithmetic = factor * gmax_ > kExactFloatLimit;
    // The output count is a power of two.
    if (floatArithmetic && outputs >= 8) floatSums<8>(factor, outputs);
    if (floatArithmetic && outputs == 4) floatSums<4>(factor, outputs);
    if (floatArithmetic && outputs == 2) floatSums<2>(factor, outputs);
    if (floatArithmetic && outputs == 1) floatSums<1>(factor, outputs);

    for (std::int64_t i = 0; i < outputs; ++i) {
        const std::int64_t start = (i * factor) % kPoints;
        int lmax = gmax_;
        int lmin = gmin_;
        if (!wholeWaveform && window == 1) {
            lmax = chunkMax[start >> level];
            lmin = chunkMin[start >> level];
        } else if (!wholeWaveform) {
            const std::int64_t first = start >> level;
            const std::int64_t last = first + window - 1;
            lmax = std::max(backwardMax_[first], forwardMax_[last]);
            lmin = std::min(backwardMin_[first], forwardMin_[last]);
        }
        const float sum = floatArithmetic ? sums_[static_cast<std::size_t>(i)]
                                          : static_cast<float>(cyclicSum(start, factor));
        const auto avg = static_cast<float>(static_cast<long double>(sum) / factor);
        out[i] = decimatedPoint(avg, lmin, lmax, mean_, gmin_, gmax_);
    }
    // The outputs repeat; their count divides 16384.
    for (std::int64_t k = outputs; k < kPoints; k += outputs)
        std::memcpy(out.data() + k, out.data(), static_cast<std::size_t>(outputs));
    return offset;
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
