// Appending and expanding a whole digital wave: 262144 steps filled by three running macros on
// disjoint signals, each counting its value up from cycle to cycle.
#include <benchmark/benchmark.h>

#include "core/ProgressReporter.h"
#include "core/UserMessages.h"
#include "digital/DigitalStepper.h"

namespace {

class NoMessages final : public UserMessages {
public:
    MessageResult messageBox(const std::string&, MessageKind, MessageButtons) override {
        return MessageResult::Yes;
    }
};

TSignal lines(const std::string& name, int first, int width) {
    TSignal signal;
    signal.name = name;
    signal.width = static_cast<std::uint8_t>(width);
    for (int i = 0; i < width; ++i)
        signal.pins[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(1u << (first + i)),
                                                    static_cast<std::int8_t>(first)};
    return signal;
}

// A macro of `steps` template steps on a 4-line bus and a strobe line, the bus taking the cycle
// value at every step.
TDigitalMacro countingMacro(const std::string& name, int steps, int busTarget, int strobeTarget) {
    TDigitalMacro macro;
    macro.name = name;
    macro.wave.signals[0] = lines("D", 0, 4);
    macro.wave.signals[1] = lines("S", 4, 1);
    macro.wave.signalCount = 2;
    setWaveLength(macro.wave, steps);
    for (int s = 0; s < steps; ++s) {
        macro.wave.word(s) = static_cast<std::uint16_t>(s % 2 ? 0x10 : 0);
        macro.bindings.push_back({0, 0, 0, s});
    }
    macro.targetMap[0] = static_cast<std::int8_t>(busTarget);
    macro.targetMap[1] = static_cast<std::int8_t>(strobeTarget);
    macro.cycles = macro.remaining = kMaxWaveLength;  // runs to the end of the wave
    macro.valueSource = kValueCountUp;
    return macro;
}

void appendWholeWave(benchmark::State& state) {
    for (auto _ : state) {
        TDigitalWave wave;
        wave.signals[0] = lines("A", 0, 4);
        wave.signals[1] = lines("AS", 4, 1);
        wave.signals[2] = lines("B", 5, 4);
        wave.signals[3] = lines("BS", 9, 1);
        wave.signals[4] = lines("C", 10, 4);
        wave.signals[5] = lines("CS", 14, 1);
        wave.signals[6] = lines("CLK", 15, 1);
        wave.signals[6].kind = kClockSignal;
        wave.signalCount = 7;
        MacroQueue queue = {countingMacro("First", 3, 0, 1), countingMacro("Second", 5, 2, 3),
                            countingMacro("Third", 8, 4, 5)};
        std::int32_t cursor = -1;
        NoMessages messages;
        SilentProgress progress;
        DigitalStepper stepper(wave, &queue, cursor, messages, progress, nullptr);
        stepper.takeSteps(kMaxWaveLength);
        benchmark::DoNotOptimize(wave.words().data());
        if (wave.length() != kMaxWaveLength || queue.size() != 3)
            state.SkipWithError("not expanded");
    }
    state.SetItemsProcessed(state.iterations() * kMaxWaveLength);
}
BENCHMARK(appendWholeWave)->Unit(benchmark::kMillisecond);

}  // namespace
