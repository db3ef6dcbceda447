// The waveform store's costs: statistics of a changed slot, and "Waves.dat" at start-up and
// exit with 32 formula waveforms (their 21512-byte parameter blocks included).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/UserMessages.h"
#include "generators/FormulaWaveform.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"
#include "waves/WaveformStore.h"

namespace {

class NoMessages final : public UserMessages {
public:
    MessageResult messageBox(const std::string& text, MessageKind, MessageButtons) override {
        throw std::runtime_error(text);
    }
};

WaveformStore formulaStore() {
    FormulaContext context;
    TComplexMath expression(context);
    NoMessages messages;
    WaveformStore store;
    for (std::size_t slot = 0; slot < store.slots.size(); ++slot) {
        MathParameterBlock block;
        MathSlot formula;
        formula.formula = "sin(" + std::to_string(slot + 1) + "*x)";
        setSimpleFormula(block, formula, MathConstants{});
        WaveformRecord record = untitledWaveform();
        computeFormulaWaveform(block, expression, record, messages);
        finishFormulaWaveform(block, record);
        store.slots[slot] = std::move(record);
    }
    return store;
}

std::filesystem::path benchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "q745-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void ComputeStatistics16384(benchmark::State& state) {
    WaveformStore store;
    resetPredefined(store, 1);
    WaveformRecord record = store.slots[4];
    for (auto _ : state) {
        computeStatistics(record);
        benchmark::DoNotOptimize(record.harmonicCount);
    }
}
BENCHMARK(ComputeStatistics16384)->Unit(benchmark::kMicrosecond);

void SaveStore32Formulas(benchmark::State& state) {
    const WaveformStore store = formulaStore();
    const std::filesystem::path folder = benchFolder();
    NoMessages messages;
    for (auto _ : state)
        saveStore(store, folder, messages);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(encodeStore(store).size()));
    std::filesystem::remove_all(folder);
}
BENCHMARK(SaveStore32Formulas)->Unit(benchmark::kMillisecond);

void LoadStore32Formulas(benchmark::State& state) {
    const WaveformStore saved = formulaStore();
    const std::filesystem::path folder = benchFolder();
    NoMessages messages;
    saveStore(saved, folder, messages);
    WaveformStore store;
    for (auto _ : state) {
        loadStore(store, folder, messages);
        benchmark::DoNotOptimize(store.slots[31].pointCount());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(LoadStore32Formulas)->Unit(benchmark::kMillisecond);

}  // namespace
