// The driver's costly work: building an octave set (14 decimations of 16384 points) and a
// whole waveform upload through the virtual instrument, as the program makes it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "OctaveDecimator.h"
#include "q745drv.h"

namespace {

std::vector<std::uint8_t> sine() {
    std::vector<std::uint8_t> wave(16384);
    for (std::size_t i = 0; i < wave.size(); ++i)
        wave[i] = static_cast<std::uint8_t>(
            std::lround(128.0 + 127.0 * std::sin(2.0 * std::numbers::pi * i / 16384.0)));
    return wave;
}

std::vector<std::uint8_t> noise() {
    std::mt19937 random(745);
    std::uniform_int_distribution<int> value(1, 255);
    std::vector<std::uint8_t> wave(16384);
    for (auto& point : wave)
        point = static_cast<std::uint8_t>(value(random));
    return wave;
}

// Arguments: step, waveform (0 sine, 1 noise).
void OctaveSet(benchmark::State& state) {
    const std::vector<std::uint8_t> wave = state.range(1) == 0 ? sine() : noise();
    const auto step = static_cast<std::int32_t>(state.range(0));
    q745drv::OctaveDecimator decimator;
    std::vector<std::uint8_t> set(q745drv::kOctaveSetLength);
    for (auto _ : state) {
        decimator.prepare(std::span<const std::uint8_t, 16384>(wave.data(), 16384));
        decimator.buildOctaveSet(
            1000, step, std::span<std::uint8_t, q745drv::kOctaveSetLength>(set.data(), set.size()));
        benchmark::DoNotOptimize(set.data());
    }
    state.SetLabel(state.range(1) == 0 ? "sine" : "noise");
}
BENCHMARK(OctaveSet)->ArgsProduct({{1, 99}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The floor of any octave set: one pass that writes each of its 229376 bytes once, from the
// waveform.
void OctaveSetMemoryPass(benchmark::State& state) {
    const std::vector<std::uint8_t> wave = sine();
    std::vector<std::uint8_t> set(q745drv::kOctaveSetLength);
    for (auto _ : state) {
        for (std::size_t block = 0; block < set.size(); block += wave.size())
            std::memcpy(set.data() + block, wave.data(), wave.size());
        benchmark::DoNotOptimize(set.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(OctaveSetMemoryPass)->Unit(benchmark::kMicrosecond);

// Arguments: length (-1 an octave set of step 1, else raw bytes). Includes the instrument's
// own waits (5 + 5 ms stopped, 2 ms before the restart).
void WholeSetWaveForm(benchmark::State& state) {
    if (InitHardware(0) != 1000) {
        state.SkipWithError("no virtual instrument at parallel device index 0");
        return;
    }
    const auto length = static_cast<std::int32_t>(state.range(0));
    std::vector<std::uint8_t> data = length < 0 ? sine() : std::vector<std::uint8_t>(length, 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(SetWaveForm(data.data(), 1, length, 0, 1));
}
BENCHMARK(WholeSetWaveForm)->Arg(-1)->Arg(262144)->Unit(benchmark::kMillisecond);

}  // namespace
