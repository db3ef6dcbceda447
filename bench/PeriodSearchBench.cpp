// The period search on records of the longest oscilloscope length, of every kind an operator
// records: the import dialog runs it while the operator waits.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/ProgressReporter.h"
#include "import/PeriodSearch.h"

namespace {

constexpr int kLength = 35000;

std::uint8_t sample(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

std::vector<std::uint8_t> record(int kind) {
    std::mt19937 random(17);
    std::normal_distribution<double> noise(0, 2);
    std::uniform_int_distribution<int> uniform(0, 255);
    std::student_t_distribution<double> heavy(2.0);
    std::vector<std::uint8_t> s(kLength);
    for (int i = 0; i < kLength; ++i) {
        switch (kind) {
            case 0:
                s[i] = 128;
                break;
            case 1:
                s[i] = sample(128 + 120 * std::sin(2 * M_PI * i / 100));
                break;
            case 2:
                s[i] = sample(128 + 100 * std::sin(2 * M_PI * i / 1234.5) + noise(random));
                break;
            case 3:
                s[i] = sample((i % 700 < 350 ? 40 : 210) + noise(random));
                break;
            case 4:
                s[i] = sample(20 + (i % 5000) * 215.0 / 5000 + noise(random));
                break;
            case 5:
                s[i] = static_cast<std::uint8_t>(uniform(random));
                break;
            case 6:
                s[i] = sample(128 + 6 * noise(random));
                break;
            case 8:
                s[i] = sample((i < kLength / 2 ? 60 : 190) + 1.5 * noise(random));
                break;
            case 9:
                s[i] = sample(128 + 0.5 * heavy(random));
                break;
            case 7:
                s[i] = sample(128 + 60 * std::sin(2 * M_PI * i / 97.3) +
                              40 * std::sin(2 * M_PI * i / 13.1) + noise(random));
                break;
        }
    }
    return s;
}

void periodSearch(benchmark::State& state) {
    const std::vector<std::uint8_t> samples = record(static_cast<int>(state.range(0)));
    SilentProgress progress;
    int found = -1;
    for (auto _ : state) {
        PeriodSearchResult result = searchPeriod(samples, progress, "Searching for period");
        found = result.period.value_or(-1);
        benchmark::DoNotOptimize(found);
    }
    state.counters["period"] = found;
}

}  // namespace

// 0 flat, 1 clean sine of 100 points, 2 noisy sine of 1234.5 points, 3 noisy square,
// 4 noisy sawtooth, 5 uniform noise, 6 small noise around 128, 7 two incommensurate tones,
// 8 a noisy step (no period), 9 rare large spikes on a flat line: the slowest kinds found
BENCHMARK(periodSearch)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);
