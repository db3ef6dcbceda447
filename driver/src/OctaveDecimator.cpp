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

// The average of `count` points whose sum is `sum`, as the float that the extended division
// rounds to. Below 2^29 points the double division rounds to the same float: the quotient
// lies at least 2^-24 / count of its magnitude from any midpoint between floats that it is not
// on, farther than a double's rounding can move it.
float blockAverage(double sum, std::int64_t count) {
    if (count < (std::int64_t{1} << 29))
        return static_cast<float>(sum / static_cast<double>(count));
    return static_cast<float>(static_cast<long double>(sum) / count);
}

// Fills out[length .. 16384) by repeating out[0 .. length), in copies that double each time.
void repeatToFill(std::uint8_t* out, std::int64_t length) {
    for (std::int64_t filled = length; filled < kPoints; filled *= 2) {
        const std::int64_t copied = std::min(filled, kPoints - filled);
        std::memcpy(out + filled, out, static_cast<std::size_t>(copied));
    }
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
      levelSum_(2 * kPoints),
      avg_(kPoints),
      lmin_(kPoints),
      lmax_(kPoints),
      forwardMax_(2 * kPoints),
      forwardMin_(2 * kPoints),
      backwardMax_(2 * kPoints),
      backwardMin_(2 * kPoints) {}

void OctaveDecimator::prepare(Waveform waveform) {
    w_ = waveform.data();
    pointsAsFloatReady_ = false;
    prefixReady_ = false;
    // Extremes and sums of aligned chunks of 2^level points, each level from the one below.
    // The arrays are reached through local pointers: a byte store could otherwise be taken for
    // a change of the vectors themselves.
    std::uint8_t* levelMax = levelMax_.data();
    std::uint8_t* levelMin = levelMin_.data();
    std::uint32_t* levelSum = levelSum_.data();
    std::copy(waveform.begin(), waveform.end(), levelMax);
    std::copy(waveform.begin(), waveform.end(), levelMin);
    std::copy(waveform.begin(), waveform.end(), levelSum);
    for (int level = 1; level <= 14; ++level) {
        const std::size_t below = levelOffset(level - 1);
        const std::size_t here = levelOffset(level);
        for (std::size_t k = 0; k < (static_cast<std::size_t>(kPoints) >> level); ++k) {
            levelMax[here + k] = std::max(levelMax[below + 2 * k], levelMax[below + 2 * k + 1]);
            levelMin[here + k] = std::min(levelMin[below + 2 * k], levelMin[below + 2 * k + 1]);
            levelSum[here + k] = levelSum[below + 2 * k] + levelSum[below + 2 * k + 1];
        }
    }
    const std::size_t whole = levelOffset(14);
    gmax_ = levelMax[whole];
    gmin_ = levelMin[whole];
    // The total never exceeds 255 x 16384 < 2^24, so the float sum is exact.
    mean_ = static_cast<float>(levelSum[whole]) * (1.0f / 16384.0f);
}

void OctaveDecimator::preparePrefixSums() {
    if (prefixReady_) return;
    std::int64_t* prefix = prefix_.data();
    prefix[0] = 0;
    for (std::int64_t i = 0; i < kPoints; ++i)
        prefix[i + 1] = prefix[i] + w_[i];
    prefixReady_ = true;
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
    if (!pointsAsFloatReady_) {
        std::copy(w_, w_ + kPoints, pointsAsFloat_.begin());
        pointsAsFloatReady_ = true;
    }
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

// Output point i stretches the block's average towards its extreme in proportion to how close
// that extreme comes to the waveform's own; a block without spread on its side is its extreme.
// The value is defined in extended precision. Double precision lands within 1e-12 of it, so it
// rounds the same unless it comes within a hair of a tie; only then is the slower extended
// evaluation needed.
void OctaveDecimator::decimatedPoints(std::int64_t outputs, std::uint8_t* out) const {
    const double mean = mean_;
    const auto gmax = static_cast<float>(gmax_);
    const auto gmin = static_cast<float>(gmin_);
    const bool spreadUp = gmax_ - mean_ > 0.0f;
    const bool spreadDown = mean_ - gmin_ > 0.0f;
    // (avg - lmin)(mean - lmin) = (lmin - avg)(lmin - mean): both sides share one expression,
    // so that the side is selected point by point rather than branched to, which noise would
    // mispredict half the time.
    const double perSpreadUp = spreadUp ? 1.0 / (gmax_ - mean) : 0.0;
    const double perSpreadDown = spreadDown ? -1.0 / (mean - gmin_) : 0.0;
    const float* averages = avg_.data();
    const std::uint8_t* maxima = lmax_.data();
    const std::uint8_t* minima = lmin_.data();
    for (std::int64_t i = 0; i < outputs; ++i) {
        const float avg = averages[i];
        const int lmax = maxima[i];
        const int lmin = minima[i];
        const bool above = avg > mean_;
        const int extreme = above ? lmax : lmin;
        // A float difference of two floats this close is exact: zero only when they are equal.
        const bool flat = (avg == (above ? gmax : gmin)) | !(above ? spreadUp : spreadDown);
        const double quick = avg + (extreme - static_cast<double>(avg)) * (extreme - mean) *
                                       (above ? perSpreadUp : perSpreadDown);
        // Between the block's average and its extreme, so within 0..255.
        const double bounded = std::min(std::max(quick, 0.0), 255.0);
        const int lower = static_cast<int>(bounded);
        const double fraction = bounded - lower;
        int point = std::min(lower + (fraction > 0.5 ? 1 : 0), 255);
        if (!flat && (bounded != quick || std::fabs(fraction - 0.5) <= 1e-9)) [[unlikely]] {
            const std::int64_t exact =
                roundHalfEven(stretched<long double>(avg, lmin, lmax, mean_, gmin_, gmax_));
            point = static_cast<int>(std::clamp<std::int64_t>(exact, 0, 255));
        }
        out[i] = static_cast<std::uint8_t>(flat ? extreme : point);
    }
}

std::int64_t OctaveDecimator::decimate(std::int64_t factor, std::uint8_t* out) {
    // One point per output gives the waveform itself.
    if (factor == 1) {
        std::memcpy(out, w_, kPoints);
        return kPoints;
    }
    // gcd(factor, 16384) = 2^level: the outputs start on its multiples.
    const int level = std::min(std::countr_zero(static_cast<std::uint64_t>(factor)), 14);
    const std::int64_t outputs = kPoints >> level;
    const bool wholeWaveform = factor >= kPoints;
    const std::int64_t window = factor >> level;
    const std::uint8_t* chunkMax = levelMax_.data() + levelOffset(level);
    const std::uint8_t* chunkMin = levelMin_.data() + levelOffset(level);

    // A power of two below 16384 points: each output is one aligned chunk, whose sum stays
    // below 2^24 and so is exact, as is its division by the power of two.
    if (!wholeWaveform && window == 1) {
        const std::uint32_t* chunkSum = levelSum_.data() + levelOffset(level);
        const float perPoint = 1.0f / static_cast<float>(factor);
        for (std::size_t i = 0; i < static_cast<std::size_t>(outputs); ++i) {
            avg_[i] = static_cast<float>(chunkSum[i]) * perPoint;
            lmax_[i] = chunkMax[i];
            lmin_[i] = chunkMin[i];
        }
        decimatedPoints(outputs, out);
        return outputs;
    }

    preparePrefixSums();
    if (!wholeWaveform) windowExtremes(level, window);
    // Sums that may pass 2^24 need float arithmetic; the others are exact integers.
    const bool floatArithmetic = factor * gmax_ > kExactFloatLimit;
    // The output count is a power of two.
    if (floatArithmetic && outputs >= 8) floatSums<8>(factor, outputs);
    if (floatArithmetic && outputs == 4) floatSums<4>(factor, outputs);
    if (floatArithmetic && outputs == 2) floatSums<2>(factor, outputs);
    if (floatArithmetic && outputs == 1) floatSums<1>(factor, outputs);

    for (std::int64_t i = 0; i < outputs; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::int64_t start = (i * factor) % kPoints;
        if (wholeWaveform) {
            lmax_[k] = static_cast<std::uint8_t>(gmax_);
            lmin_[k] = static_cast<std::uint8_t>(gmin_);
        } else {
            const std::int64_t first = start >> level;
            const std::int64_t last = first + window - 1;
            lmax_[k] = std::max(backwardMax_[first], forwardMax_[last]);
            lmin_[k] = std::min(backwardMin_[first], forwardMin_[last]);
        }
        const float sum = floatArithmetic ? sums_[k] : static_cast<float>(cyclicSum(start, factor));
        avg_[k] = blockAverage(sum, factor);
    }
    decimatedPoints(outputs, out);
    return outputs;
}

std::int64_t OctaveDecimator::decimateOctave(std::int64_t factor, std::int64_t phase, Octave out) {
    repeatToFill(out.data(), decimate(factor, out.data()));
    return roundHalfEven(static_cast<long double>(phase) / factor);
}

// Block j of the set is octave j rotated by its phase offset. The outputs repeat after `count`
// points, so the block is their rotation by the offset, repeated.
void OctaveDecimator::buildOctaveSet(std::int32_t phase, std::int32_t step,
                                     std::span<std::uint8_t, kOctaveSetLength> out) {
    for (std::int32_t j = 0; j < kOctaveCount; ++j) {
        const std::int64_t factor = static_cast<std::int64_t>(step) << j;
        const std::int64_t offset = roundHalfEven(static_cast<long double>(phase) / factor);
        std::uint8_t* block = out.data() + static_cast<std::size_t>(j) * kPoints;
        const std::uint8_t* outputs = factor == 1 ? w_ : octave_.data();
        const std::int64_t count = factor == 1 ? kPoints : decimate(factor, octave_.data());
        const std::int64_t start = ((offset % count) + count) % count;
        const auto head = static_cast<std::size_t>(count - start);
        std::memcpy(block, outputs + start, head);
        std::memcpy(block + head, outputs, static_cast<std::size_t>(start));
        repeatToFill(block, count);
    }
}

}  // namespace q745drv
