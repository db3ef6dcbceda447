#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "RecordingProgress.h"
#include "import/PeriodSearch.h"

namespace {

using Samples = std::vector<std::uint8_t>;

// The search as defined, pair by pair: the reference for the fast implementation.
bool directCheck(const Samples& s, int p, int d, std::int64_t allowance) {
    const int n = static_cast<int>(s.size());
    if (p >= n) return true;
    std::int64_t count = 0;
    for (int j = 0; j <= n - p - 1; ++j) {
        for (int k = j + p; k <= n - 1; k += p) {
            if (std::abs(s[j] - s[k]) >= d && ++count > allowance) return false;
        }
    }
    return true;
}

std::optional<int> directFind(const Samples& s, int t, std::int64_t allowance) {
    const int h = static_cast<int>(std::nearbyint(t * 255.0 / 100.0));
    for (int i = 1; i < static_cast<int>(s.size()); ++i) {
        if (std::abs(s[i] - s[0]) <= h && i > 1 && directCheck(s, i, h + 3, allowance)) return i;
    }
    return std::nullopt;
}

std::optional<int> directSearch(const Samples& s) {
    if (s.empty()) return std::nullopt;
    const std::int64_t n100 = static_cast<std::int64_t>(s.size()) / 100;
    for (int t1 = 0; t1 <= 5; ++t1) {
        std::optional<int> p1 = directFind(s, t1, n100);
        if (!p1) continue;
        int best = *p1;
        for (int t = t1 + 1; t <= 7; ++t) {
            std::optional<int> p2 = directFind(s, t, n100 < 50 ? 50 : n100);
            if (p2 && *p1 % *p2 < n100 && *p2 < *p1 &&
                std::nearbyint(static_cast<double>(*p1) / *p2) >= 2)
                best = *p2;
        }
        return best;
    }
    return std::nullopt;
}

std::optional<int> fastSearch(const Samples& s) {
    RecordingProgress progress;
    return searchPeriod(s, progress, "Searching for period on channel A").period;
}

std::uint8_t clampSample(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

Samples sine(int n, double period, double amplitude = 120, double noise = 0, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    Samples s;
    for (int i = 0; i < n; ++i)
        s.push_back(clampSample(128 + amplitude * std::sin(2 * M_PI * i / period) +
                                (noise > 0 ? gauss(random) : 0)));
    return s;
}

Samples randomSamples(int n, int low, int high, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(low, high);
    Samples s;
    for (int i = 0; i < n; ++i)
        s.push_back(static_cast<std::uint8_t>(value(random)));
    return s;
}

}  // namespace

TEST(PeriodSearch, ExactHundredPointSineGivesHundred) {
    Samples s = sine(1000, 100);
    EXPECT_EQ(fastSearch(s), 100);
    EXPECT_EQ(directSearch(s), 100);
}

TEST(PeriodSearch, FlatRecordGivesTwo) {
    EXPECT_EQ(fastSearch(Samples(500, 128)), 2);
    EXPECT_EQ(fastSearch(Samples(3, 77)), 2);
}

TEST(PeriodSearch, DoublePeriodIsRefinedToTheShorterOne) {
    // Every other period is raised by 4 steps: at 0 % index 100 is no candidate and 200 passes;
    // at 2 % index 100 is a candidate (4 <= 5) whose pairs differ by less than 5 + 3, so the
    // refinement picks 100.
    Samples s;
    for (int i = 0; i < 1000; ++i) {
        const int raise = (i / 100) % 2 == 1 ? 4 : 0;
        s.push_back(clampSample(128 + 100 * std::sin(2 * M_PI * i / 100) + raise));
    }
    ASSERT_FALSE(periodCheckPasses(s, 100, 3, 10));
    ASSERT_TRUE(periodCheckPasses(s, 200, 3, 10));
    EXPECT_EQ(fastSearch(s), 100);
    EXPECT_EQ(directSearch(s), 100);
}

TEST(PeriodSearch, RecordsWithoutPeriod) {
    EXPECT_EQ(fastSearch({}), std::nullopt);
    EXPECT_EQ(fastSearch({5}), std::nullopt);
    EXPECT_EQ(fastSearch({5, 5}), std::nullopt);
    // A first sample that no other sample comes near has no candidates at all.
    Samples lonely(400, 100);
    lonely[0] = 250;
    EXPECT_EQ(fastSearch(lonely), std::nullopt);
}

TEST(PeriodSearch, ProgressShowsEachFailedTolerance) {
    Samples lonely(400, 100);
    lonely[0] = 250;
    RecordingProgress progress;
    PeriodSearchResult result = searchPeriod(lonely, progress, "Searching for period on channel B");
    EXPECT_FALSE(result.period);
    EXPECT_FALSE(result.brokenOff);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Searching for period on channel B"});
    EXPECT_EQ(progress.maximum, 7);
    EXPECT_TRUE(progress.breakAllowed);
    EXPECT_EQ(progress.calls, 6);
    EXPECT_EQ(progress.position, 5);
    EXPECT_TRUE(progress.finished);
}

TEST(PeriodSearch, BreakEndsTheSearchWithNothing) {
    Samples lonely(400, 100);
    lonely[0] = 250;
    RecordingProgress progress;
    progress.breakAt = 2;
    PeriodSearchResult result = searchPeriod(lonely, progress, "x");
    EXPECT_FALSE(result.period);
    EXPECT_TRUE(result.brokenOff);
    EXPECT_EQ(progress.position, 2);
    EXPECT_TRUE(progress.finished);

    // A break during the refinement drops the period found in stage 1 as well.
    RecordingProgress refining;
    refining.breakAt = 3;
    PeriodSearchResult refined = searchPeriod(sine(1000, 100), refining, "x");
    EXPECT_TRUE(refined.brokenOff);
    EXPECT_FALSE(refined.period);
}

TEST(PeriodSearch, RefinementRunsThroughTheLooserTolerances) {
    RecordingProgress progress;
    EXPECT_EQ(searchPeriod(sine(1000, 100), progress, "x").period, 100);
    // Found at 0 %, then 1 to 7 % are tried.
    EXPECT_EQ(progress.calls, 7);
    EXPECT_EQ(progress.position, 7);
}

TEST(PeriodSearch, CheckEqualsTheDirectDefinition) {
    std::mt19937 random(42);
    for (int round = 0; round < 600; ++round) {
        const int n = std::uniform_int_distribution<int>(1, round % 3 == 0 ? 3000 : 700)(random);
        Samples s;
        switch (round % 4) {
            case 0:
                s = randomSamples(n, 0, 255, random());
                break;
            case 1:
                s = randomSamples(n, 120, 135, random());
                break;
            case 2:
                s = sine(n, std::uniform_real_distribution<double>(3, 150)(random), 100,
                         std::uniform_real_distribution<double>(0, 4)(random), random());
                break;
            default:
                s = Samples(static_cast<std::size_t>(n), 128);
        }
        // Short periods are counted differently from long ones: try both often.
        const int p = round % 2 == 0 ? std::uniform_int_distribution<int>(1, 8)(random)
                                     : std::uniform_int_distribution<int>(1, n + 2)(random);
        const int d = round % 10 == 0 ? std::uniform_int_distribution<int>(-2, 300)(random)
                                      : std::uniform_int_distribution<int>(0, 30)(random);
        const std::int64_t allowance = std::uniform_int_distribution<int>(0, 3000)(random);
        EXPECT_EQ(periodCheckPasses(s, p, d, allowance), directCheck(s, p, d, allowance))
            << "round " << round << " n " << n << " p " << p << " d " << d;
    }
}

TEST(PeriodSearch, SearchEqualsTheDirectDefinitionOnRandomRecords) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const int n = std::uniform_int_distribution<int>(2, 600)(random);
        const int spread = std::uniform_int_distribution<int>(0, 40)(random);
        Samples s = randomSamples(n, 128 - spread, 128 + spread, random());
        EXPECT_EQ(fastSearch(s), directSearch(s)) << "round " << round;
    }
}

TEST(PeriodSearch, SearchEqualsTheDirectDefinitionOnRealLookingRecords) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        const int n = std::uniform_int_distribution<int>(200, 2000)(random);
        const double period = std::uniform_real_distribution<double>(5, 400)(random);
        const double noise = std::uniform_real_distribution<double>(0, 5)(random);
        Samples s = sine(n, period, std::uniform_real_distribution<double>(10, 127)(random), noise,
                         random());
        if (round % 4 == 1) {
            // a square wave with ringing
            for (int i = 0; i < n; ++i)
                s[i] = clampSample((std::fmod(i, period) < period / 2 ? 60 : 200) +
                                   10 * std::exp(-std::fmod(i, period / 2) / 3.0));
        } else if (round % 4 == 2) {
            // a level with rare spikes, and a step in the middle of the record
            std::uniform_int_distribution<int> spike(0, 40);
            for (int i = 0; i < n; ++i)
                s[i] = clampSample((i < n / 2 ? 100 : 100 + noise * 4) + noise * (i % 7 == 3) +
                                   (spike(random) == 0 ? 60 : 0));
        } else if (round % 4 == 3) {
            // every other period raised, so that the refinement has work to do
            const int whole = static_cast<int>(period);
            const int raise = std::uniform_int_distribution<int>(2, 14)(random);
            for (int i = 0; i < n; ++i)
                s[i] = clampSample(128 + 90 * std::sin(2 * M_PI * i / whole) +
                                   ((i / whole) % 2 == 1 ? raise : 0) + noise * (i % 5 == 0));
        }
        EXPECT_EQ(fastSearch(s), directSearch(s))
            << "round " << round << " n " << n << " period " << period;
    }
}

// Nearly constant records with rare spikes, where the pairs that differ are found from the few
// samples away from the rest; a period hides in some of them.
TEST(PeriodSearch, SearchAndCheckEqualTheDirectDefinitionOnRareSpikes) {
    std::mt19937 random(23);
    for (int round = 0; round < 40; ++round) {
        const int n = std::uniform_int_distribution<int>(300, 3000)(random);
        const int rarity = std::uniform_int_distribution<int>(100, 2000)(random);
        const int period = std::uniform_int_distribution<int>(2, 400)(random);
        std::uniform_int_distribution<int> noise(-1, 1);
        std::uniform_int_distribution<int> spike(-60, 60);
        Samples s(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const bool spiked = round % 2 == 0 ? i % period == 7 % period
                                               : random() % static_cast<unsigned>(rarity) == 0;
            s[i] = clampSample(128 + noise(random) + (spiked ? spike(random) : 0));
        }
        EXPECT_EQ(fastSearch(s), directSearch(s)) << "round " << round;
        for (int p : {2, 3, period, n / 3, n / 2}) {
            for (int d : {3, 8, 21, 40}) {
                EXPECT_EQ(periodCheckPasses(s, p, d, 30), directCheck(s, p, d, 30))
                    << "round " << round << " p " << p << " d " << d;
            }
        }
    }
}

TEST(PeriodSearch, TwoChannelsSearchChannelBOnlyWhenANeedsIt) {
    Samples lonely(400, 100);
    lonely[0] = 250;
    RecordingProgress progress;
    ChannelPeriod fromA = searchPeriodOfChannels(sine(1000, 100), sine(1000, 50), progress);
    EXPECT_EQ(fromA.channel, 0);
    EXPECT_EQ(fromA.result.period, 100);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Searching for period on channel A"});

    RecordingProgress second;
    ChannelPeriod fromB = searchPeriodOfChannels(lonely, sine(1000, 50), second);
    EXPECT_EQ(fromB.channel, 1);
    EXPECT_EQ(fromB.result.period, 50);
    EXPECT_EQ(second.captions, (std::vector<std::string>{"Searching for period on channel A",
                                                         "Searching for period on channel B"}));

    RecordingProgress broken;
    broken.breakAt = 0;
    ChannelPeriod stopped = searchPeriodOfChannels(lonely, sine(1000, 50), broken);
    EXPECT_TRUE(stopped.result.brokenOff);
    EXPECT_EQ(stopped.channel, 0);
    EXPECT_EQ(broken.starts, 1);
}
