#include "import/PeriodSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// How many pairs of one residue class differ by `difference` (1-255) or more, from the class's
// histogram: all pairs less those of equal values and those at a distance below `difference`.
class ClassCounter {
public:
    std::int64_t mismatches(const std::uint8_t* data, std::int64_t n, std::int64_t start,
                            std::int64_t period, int difference) {
        // Members are counted into four histograms in turn: on nearly constant data one
        // histogram's increments of the same count would each wait for the one before.
        int low = 255;
        int high = 0;
        std::int64_t members = 0;
        auto add = [&](std::size_t histogram, int value) {
            ++partial_[histogram][static_cast<std::size_t>(value)];
            low = std::min(low, value);
            high = std::max(high, value);
        };
        std::int64_t i = start;
        for (; i + 3 * period < n; i += 4 * period, members += 4) {
            add(0, data[i]);
            add(1, data[i + period]);
            add(2, data[i + 2 * period]);
            add(3, data[i + 3 * period]);
        }
        for (; i < n; i += period, ++members)
            add(0, data[i]);
        for (int v = low; v <= high; ++v) {
            const auto k = static_cast<std::size_t>(v);
            histogram_[k] = partial_[0][k] + partial_[1][k] + partial_[2][k] + partial_[3][k];
            partial_[0][k] = partial_[1][k] = partial_[2][k] = partial_[3][k] = 0;
        }
        // near: pairs closer than `difference`, counted from the smaller value of each pair
        std::int64_t near = 0;
        std::int64_t window = 0;  // members with values in (v, v + difference)
        for (int w = low + 1; w < std::min(low + difference, high + 1); ++w)
            window += count(w);
        for (int v = low; v <= high; ++v) {
            const std::int64_t c = count(v);
            near += c * (c - 1) / 2 + c * window;
            window -= count(v + 1);
            if (v + difference <= high) window += count(v + difference);
        }
        std::fill(histogram_.begin() + low, histogram_.begin() + high + 1, 0);
        return members * (members - 1) / 2 - near;
    }

private:
    std::int64_t count(int value) const {
        return value > 255 ? 0 : histogram_[static_cast<std::size_t>(value)];
    }
    std::array<std::array<std::int32_t, 256>, 4> partial_{};
    std::array<std::int32_t, 256> histogram_{};
};

// Pairs are compared kLanes side by side, each lane counting in a byte, in stretches of
// kStretch pairs between which the total is checked against the allowance. Comparing a few
// pairs past the point where the total exceeds it changes nothing: the counts kept are exact
// for the pairs compared.
constexpr std::size_t kLanes = 64;
constexpr std::size_t kStretch = 8 * kLanes;

// Where the processor has wider vectors, further copies of the comparison use them.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define Q745_WIDE_VECTORS __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define Q745_WIDE_VECTORS
#endif

// One shift's comparison so far: the pairs (j, j + shift) with j < scanned are compared,
// `counted` of them differ by d or more, and the pairs j < clean differ by less than d.
struct ShiftProgress {
    std::int32_t scanned = 0;
    std::int32_t counted = 0;
    std::int32_t clean = 0;
};

// Goes on comparing the pairs of one shift up to `to`, adding those that differ by d or more to
// `total` as well, and stops once `total` exceeds the allowance.
Q745_WIDE_VECTORS void scanShift(const std::uint8_t* data, std::size_t shift, std::size_t to,
                                 std::uint8_t d, std::int64_t allowance, std::int64_t& total,
                                 ShiftProgress& progress) {
    const std::uint8_t* a = data;
    const std::uint8_t* b = data + shift;
    std::size_t j = static_cast<std::size_t>(progress.scanned);
    std::int64_t counted = progress.counted;
    // Kept in locals rather than written through the references at every block.
    std::int64_t sum = total;
    std::size_t clean = static_cast<std::size_t>(progress.clean);
    for (; j + kStretch <= to && sum <= allowance; j += kStretch) {
        std::array<std::uint8_t, kLanes> lanes{};
        for (std::size_t k = 0; k < kStretch; k += kLanes) {
            for (std::size_t lane = 0; lane < kLanes; ++lane) {
                const std::uint8_t x = a[j + k + lane];
                const std::uint8_t y = b[j + k + lane];
                const std::uint8_t distance =
                    x > y ? static_cast<std::uint8_t>(x - y) : static_cast<std::uint8_t>(y - x);
                lanes[lane] = static_cast<std::uint8_t>(lanes[lane] + (distance >= d ? 1 : 0));
            }
        }
        std::int64_t stretch = 0;
        for (std::uint8_t count : lanes)
            stretch += count;
        sum += stretch;
        counted += stretch;
        if (counted == 0) clean = j + kStretch;
    }
    for (; j < to && sum <= allowance; ++j) {
        if (std::abs(a[j] - b[j]) >= d) {
            ++counted;
            ++sum;
        }
        if (counted == 0) clean = j + 1;
    }
    total = sum;
    progress.scanned = static_cast<std::int32_t>(j);
    progress.counted = static_cast<std::int32_t>(counted);
    progress.clean = static_cast<std::int32_t>(clean);
}

// A long period has few pairs, compared shift by shift (k = j + p, j + 2p, ...); a short one
// has long residue classes, counted from the histogram of each class. This many pairs per
// point of the record is where the histograms become cheaper.
constexpr std::int64_t kShiftedPairsPerPoint = 64;
// A shift's pairs are counted from the outliers (below) when they are fewer than this share of
// the pairs left to compare: one outlier's two pairs cost about as much as comparing this many
// pairs side by side.
constexpr std::size_t kScannedPairsPerOutlier = 64;

constexpr int kProgressMaximum = 7;
constexpr int kLastStageOneTolerance = 5;
constexpr int kLastTolerance = 7;

struct SearchRecord {
    std::span<const std::uint8_t> samples;
    std::int64_t allowance;
};

// The check of candidates for one record. Long periods are checked shift by shift (the pairs
// j, j + k for k = p, 2p, ...). What a shift's comparison found is kept: a later candidate that
// shares the shift (a multiple of both) goes on from there, and one whose kept counts already
// exceed the allowance fails at once. The pairs found closer than d at the start of a shift stay
// skipped when d grows, as it does from one tolerance to the next. Short periods have long
// residue classes, counted from the histogram of each class.
class PairCounter {
public:
    explicit PairCounter(std::span<const std::uint8_t> samples)
        : data_(samples.data()), n_(static_cast<std::int64_t>(samples.size())) {}

    // Starts the checks with the difference d; the comparisons kept are dropped.
    void setDifference(int difference) {
        for (ShiftProgress& shift : shifts_) {
            if (difference < difference_) shift.clean = 0;
            shift.scanned = shift.clean;
            shift.counted = 0;
        }
        difference_ = difference;
        outliersFound_ = false;
    }

    bool passes(std::int64_t period, std::int64_t allowance) {
        if (period <= 0) return false;
        if (period >= n_) return true;
        // Sample values differ by 255 at most, and by 0 at least.
        if (difference_ > 255) return true;
        if (difference_ <= 0) {
            std::int64_t pairs = 0;
            for (std::int64_t k = period; k < n_ && pairs <= allowance; k += period)
                pairs += n_ - k;
            return pairs <= allowance;
        }
        if ((n_ - period) * (n_ / period + 1) / 2 <= kShiftedPairsPerPoint * n_)
            return passesByShifts(period, allowance);
        return passesByClasses(period, allowance);
    }

private:
    bool passesByShifts(std::int64_t period, std::int64_t allowance) {
        if (shifts_.empty()) shifts_.resize(static_cast<std::size_t>(n_));
        std::int64_t total = 0;
        for (std::int64_t k = period; k < n_; k += period)
            total += shifts_[index(k)].counted;
        if (total > allowance) return false;
        const auto d = static_cast<std::uint8_t>(difference_);
        findOutliers();
        for (std::int64_t k = period; k < n_; k += period) {
            ShiftProgress& shift = shifts_[index(k)];
            const std::size_t pairs = static_cast<std::size_t>(n_ - k);
            const auto scanned = static_cast<std::size_t>(shift.scanned);
            if (scanned == pairs) continue;
            // The kept count of this shift is in `total` already; counting adds to both.
            if (fewOutliers_ && outliers_.size() * kScannedPairsPerOutlier < pairs - scanned) {
                const std::int32_t found = outlierMismatches(k, shift.scanned);
                shift.counted += found;
                total += found;
                shift.scanned = static_cast<std::int32_t>(pairs);
                if (shift.counted == 0) shift.clean = shift.scanned;
            } else {
                scanShift(data_, index(k), pairs, d, allowance, total, shift);
            }
            if (total > allowance) return false;
        }
        return true;
    }

    // The samples outside the densest window of d consecutive values. Two samples inside it
    // differ by less than d, so each pair that differs by d or more holds one of these.
    void findOutliers() {
        if (outliersFound_) return;
        outliersFound_ = true;
        if (isOutlier_.empty()) {
            isOutlier_.resize(static_cast<std::size_t>(n_));
            for (std::int64_t i = 0; i < n_; ++i)
                ++valueCounts_[data_[i]];
        }
        const int width = difference_;
        std::int64_t inside = 0;
        for (int v = 0; v < width; ++v)
            inside += valueCounts_[static_cast<std::size_t>(v)];
        std::int64_t most = inside;
        int low = 0;
        for (int first = 1; first + width <= 256; ++first) {
            inside += valueCounts_[static_cast<std::size_t>(first + width - 1)] -
                      valueCounts_[static_cast<std::size_t>(first - 1)];
            if (inside > most) {
                most = inside;
                low = first;
            }
        }
        // Too many to be worth listing for any shift.
        fewOutliers_ = (n_ - most) * static_cast<std::int64_t>(kScannedPairsPerOutlier) < n_;
        if (!fewOutliers_) return;
        outliers_.clear();
        for (std::int64_t i = 0; i < n_; ++i) {
            const bool outside = data_[i] < low || data_[i] >= low + width;
            isOutlier_[index(i)] = outside ? 1 : 0;
            if (outside) outliers_.push_back(static_cast<std::int32_t>(i));
        }
    }

    // The pairs (j, j + k), j >= from, that differ by d or more, found from the outliers: each
    // such pair is counted from its first sample when that is an outlier, else from its second.
    std::int32_t outlierMismatches(std::int64_t k, std::int64_t from) const {
        const auto first = [&](std::int64_t position) {
            return std::lower_bound(outliers_.begin(), outliers_.end(), position);
        };
        std::int32_t found = 0;
        for (auto o = first(from), end = first(n_ - k); o != end; ++o)
            found += std::abs(data_[*o] - data_[*o + k]) >= difference_ ? 1 : 0;
        for (auto o = first(from + k); o != outliers_.end(); ++o) {
            const bool mismatch = std::abs(data_[*o - k] - data_[*o]) >= difference_;
            found += mismatch && isOutlier_[index(*o - k)] == 0 ? 1 : 0;
        }
        return found;
    }

    bool passesByClasses(std::int64_t period, std::int64_t allowance) {
        std::int64_t total = 0;
        for (std::int64_t start = 0; start < period; ++start) {
            total += classes_.mismatches(data_, n_, start, period, difference_);
            if (total > allowance) return false;
        }
        return true;
    }

    static std::size_t index(std::int64_t k) { return static_cast<std::size_t>(k); }

    const std::uint8_t* data_;
    std::int64_t n_;
    int difference_ = 0;
    ClassCounter classes_;
    std::vector<ShiftProgress> shifts_;  // by shift, allocated on first use
    std::array<std::int64_t, 256> valueCounts_{};
    // For the present difference, when found: the outliers' positions, and which samples are.
    bool outliersFound_ = false;
    bool fewOutliers_ = false;
    std::vector<std::int32_t> outliers_;
    std::vector<std::uint8_t> isOutlier_;
};

int thresholdFor(int tolerance) {
    return static_cast<int>(std::nearbyint(tolerance * 255.0 / 100.0));
}

// The first candidate that passes at tolerance t percent, or nothing.
std::optional<int> find(const SearchRecord& record, PairCounter& counter, int tolerance) {
    const int threshold = thresholdFor(tolerance);
    const std::span<const std::uint8_t> s = record.samples;
    counter.setDifference(threshold + 3);
    const int first = s[0];
    for (std::size_t i = 2; i < s.size(); ++i) {
        if (std::abs(s[i] - first) <= threshold &&
            counter.passes(static_cast<std::int64_t>(i), record.allowance))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

// find(t) in the refinement, where its result p2 only matters when it is a shorter period
// that divides p1: p1 mod p2 < N div 100, p2 < p1 and round(p1 / p2) >= 2 (p1 / p2 >= 1.5).
// Returns that p2, or nothing when the first passing candidate is not one. The dividing
// candidates are checked first; the others need checking only below the first one that passes,
// where any of them passing would be the first passing candidate instead.
std::optional<int> findDivisor(const SearchRecord& record, PairCounter& counter, int tolerance,
                               int p1, std::int64_t hundredth) {
    const int threshold = thresholdFor(tolerance);
    const std::span<const std::uint8_t> s = record.samples;
    counter.setDifference(threshold + 3);
    const int first = s[0];
    auto isCandidate = [&](std::size_t i) { return std::abs(s[i] - first) <= threshold; };
    auto divides = [&](std::size_t i) { return p1 % static_cast<std::int64_t>(i) < hundredth; };
    const std::size_t limit = std::min(static_cast<std::size_t>(p1) * 2 / 3, s.size() - 1);
    std::optional<std::size_t> divisor;
    for (std::size_t i = 2; i <= limit && !divisor; ++i) {
        if (isCandidate(i) && divides(i) &&
            counter.passes(static_cast<std::int64_t>(i), record.allowance))
            divisor = i;
    }
    if (!divisor) return std::nullopt;
    // Any passing one settles it; long periods have the fewest pairs, so they go first.
    for (std::size_t i = *divisor - 1; i >= 2; --i) {
        if (isCandidate(i) && !divides(i) &&
            counter.passes(static_cast<std::int64_t>(i), record.allowance))
            return std::nullopt;
    }
    return static_cast<int>(*divisor);
}

}  // namespace

bool periodCheckPasses(std::span<const std::uint8_t> samples, int period, int difference,
                       std::int64_t allowance) {
    PairCounter counter(samples);
    counter.setDifference(difference);
    return counter.passes(period, allowance);
}

PeriodSearchResult searchPeriod(std::span<const std::uint8_t> samples, ProgressReporter& progress,
                                const std::string& caption) {
    PeriodSearchResult result;
    if (samples.empty()) return result;
    const std::int64_t hundredth = static_cast<std::int64_t>(samples.size()) / 100;
    progress.progressStart(kProgressMaximum, true, false, caption);

    // The tolerance only grows from here on, which the counter relies on to skip work.
    PairCounter counter(samples);
    const SearchRecord stageOne{samples, hundredth};
    std::optional<int> first;
    int firstTolerance = 0;
    for (int t = 0; t <= kLastStageOneTolerance && !first; ++t) {
        first = find(stageOne, counter, t);
        firstTolerance = t;
        if (!first && !progress.progressNext(t)) {
            result.brokenOff = true;
            progress.progressFinish();
            return result;
        }
    }
    if (!first) {
        progress.progressFinish();
        return result;
    }

    // A shorter period that divides the first one, found with a looser tolerance, wins.
    const SearchRecord refinement{samples, hundredth < 50 ? 50 : hundredth};
    const int p1 = *first;
    int best = p1;
    for (int t = firstTolerance + 1; t <= kLastTolerance; ++t) {
        if (std::optional<int> p2 = findDivisor(refinement, counter, t, p1, hundredth)) best = *p2;
        if (!progress.progressNext(t)) {
            result.brokenOff = true;
            progress.progressFinish();
            return result;
        }
    }
    progress.progressFinish();
    result.period = best;
    return result;
}

ChannelPeriod searchPeriodOfChannels(std::span<const std::uint8_t> channelA,
                                     std::span<const std::uint8_t> channelB,
                                     ProgressReporter& progress) {
    ChannelPeriod found{searchPeriod(channelA, progress, "Searching for period on channel A"), 0};
    if (found.result.period || found.result.brokenOff) return found;
    return {searchPeriod(channelB, progress, "Searching for period on channel B"), 1};
}
