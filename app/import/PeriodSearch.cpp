#include "import/PeriodSearch.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

// Counts of the sample values seen so far, with prefix sums in O(log 256).
class ValueCounts {
public:
    void add(int value, int delta) {
        for (int i = value + 1; i <= 256; i += i & -i)
            tree_[static_cast<std::size_t>(i)] += delta;
    }
    // how many values seen are at most `value` (0 for a negative one)
    int atMost(int value) const {
        int sum = 0;
        for (int i = std::min(value, 255) + 1; i > 0; i -= i & -i)
            sum += tree_[static_cast<std::size_t>(i)];
        return sum;
    }

private:
    std::array<int, 257> tree_{};
};

// Residue classes with fewer members than this are compared pair by pair.
constexpr int kDirectClassSize = 24;

constexpr int kProgressMaximum = 7;
constexpr int kLastStageOneTolerance = 5;
constexpr int kLastTolerance = 7;

struct SearchRecord {
    std::span<const std::uint8_t> samples;
    std::int64_t allowance;
};

// The first candidate that passes at tolerance t percent, or nothing.
std::optional<int> find(const SearchRecord& record, int tolerance) {
    const int threshold = static_cast<int>(std::nearbyint(tolerance * 255.0 / 100.0));
    const std::span<const std::uint8_t> s = record.samples;
    const int first = s[0];
    for (std::size_t i = 2; i < s.size(); ++i) {
        if (std::abs(s[i] - first) > threshold) continue;
        const int candidate = static_cast<int>(i);
        if (periodCheckPasses(s, candidate, threshold + 3, record.allowance)) return candidate;
    }
    return std::nullopt;
}

}  // namespace

bool periodCheckPasses(std::span<const std::uint8_t> samples, int period, int difference,
                       std::int64_t allowance) {
    const std::int64_t n = static_cast<std::int64_t>(samples.size());
    if (period <= 0) return false;
    if (period >= n) return true;
    // Every pair of one residue class modulo the period is counted once, whatever the order, so
    // each class is scanned on its own with the counts of its earlier members.
    std::int64_t mismatches = 0;
    ValueCounts counts;
    for (std::int64_t start = 0; start < period; ++start) {
        const std::int64_t members = (n - 1 - start) / period + 1;
        if (members < kDirectClassSize) {
            for (std::int64_t j = start; j < n; j += period) {
                for (std::int64_t k = j + period; k < n; k += period) {
                    if (std::abs(samples[static_cast<std::size_t>(j)] -
                                 samples[static_cast<std::size_t>(k)]) >= difference &&
                        ++mismatches > allowance)
                        return false;
                }
            }
            continue;
        }
        std::int64_t seen = 0;
        std::int64_t index = start;
        for (; index < n; index += period) {
            const int value = samples[static_cast<std::size_t>(index)];
            const int near =
                counts.atMost(value + difference - 1) - counts.atMost(value - difference);
            mismatches += seen - near;
            if (mismatches > allowance) break;
            counts.add(value, 1);
            ++seen;
        }
        for (std::int64_t j = start; j < index; j += period)
            counts.add(samples[static_cast<std::size_t>(j)], -1);
        if (mismatches > allowance) return false;
    }
    return true;
}

PeriodSearchResult searchPeriod(std::span<const std::uint8_t> samples, ProgressReporter& progress,
                                const std::string& caption) {
    PeriodSearchResult result;
    if (samples.empty()) return result;
    const std::int64_t hundredth = static_cast<std::int64_t>(samples.size()) / 100;
    progress.progressStart(kProgressMaximum, true, false, caption);

    const SearchRecord stageOne{samples, hundredth};
    std::optional<int> first;
    int firstTolerance = 0;
    for (int t = 0; t <= kLastStageOneTolerance && !first; ++t) {
        first = find(stageOne, t);
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
        std::optional<int> p2 = find(refinement, t);
        if (p2 && p1 % *p2 < hundredth && *p2 < p1 &&
            std::nearbyint(static_cast<double>(p1) / *p2) >= 2)
            best = *p2;
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
