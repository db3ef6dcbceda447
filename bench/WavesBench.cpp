// The waveform store's costs: statistics of a changed slot, and "Waves.dat" at start-up and
// exit with 32 formula waveforms (their 21512-byte parameter blocks included). The statistics
// run beside the same routine on FFTW, which is linked by this benchmark only.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

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

WaveformRecord noiseRecord() {
    WaveformStore store;
    resetPredefined(store, 1);
    return store.slots[4];
}

void ComputeStatistics16384(benchmark::State& state) {
    WaveformRecord record = noiseRecord();
    for (auto _ : state) {
        computeStatistics(record);
        benchmark::DoNotOptimize(record.harmonicCount);
    }
}
BENCHMARK(ComputeStatistics16384)->Unit(benchmark::kMicrosecond);

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define Q745_WIDE_VECTORS \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define Q745_WIDE_VECTORS
#endif

// The rounding of ours (nearest, ties to even, in doubles), so that the two routines differ in
// the transform alone. Returns the largest magnitude except bin 0's.
Q745_WIDE_VECTORS std::int32_t roundedMagnitudes(const fftw_complex* bins, std::int32_t* out,
                                                 int count) {
    std::int32_t peak = 0;
    for (int k = 0; k < count; ++k) {
        const double magnitude = std::sqrt(bins[k][0] * bins[k][0] + bins[k][1] * bins[k][1]);
        const double lower = std::floor(magnitude);
        const double rest = magnitude - lower;
        const double half = 0.5 * lower;
        const bool odd = std::floor(half) != half;
        out[k] = static_cast<std::int32_t>(rest > 0.5 || (rest == 0.5 && odd) ? lower + 1 : lower);
        peak = std::max(peak, k > 0 ? out[k] : 0);
    }
    return peak;
}

// computeStatistics on FFTW, with a plan made once: extremes and mean, the transform of the raw
// samples, every bin's magnitude rounded, the highest bin above a twentieth of the peak. The
// complex form transforms the samples as real parts with zero imaginary parts, as ours is
// defined; the real form computes bins 0..8192 only, the others mirroring them, as ours does.
class FftwStatistics {
public:
    FftwStatistics(bool complexInput, unsigned flags)
        : complex_(complexInput),
          bins_(complexInput ? kWavePointCount : kWavePointCount / 2 + 1),
          out_(fftw_alloc_complex(static_cast<std::size_t>(bins_))),
          magnitudes_(static_cast<std::size_t>(bins_)) {
        // An estimate would otherwise use what an earlier measured plan left in the process.
        fftw_forget_wisdom();
        if (complex_) {
            complexIn_ = fftw_alloc_complex(kWavePointCount);
            plan_ = fftw_plan_dft_1d(kWavePointCount, complexIn_, out_, FFTW_FORWARD, flags);
        } else {
            realIn_ = fftw_alloc_real(kWavePointCount);
            plan_ = fftw_plan_dft_r2c_1d(kWavePointCount, realIn_, out_, flags);
        }
    }
    ~FftwStatistics() {
        fftw_destroy_plan(plan_);
        fftw_free(out_);
        fftw_free(complexIn_);
        fftw_free(realIn_);
    }
    FftwStatistics(const FftwStatistics&) = delete;
    FftwStatistics& operator=(const FftwStatistics&) = delete;

    void compute(WaveformRecord& record) {
        std::uint8_t highest = 0;
        std::uint8_t lowest = 255;
        std::int64_t sum = 0;
        for (std::uint8_t sample : record.points) {
            highest = std::max(highest, sample);
            lowest = std::min(lowest, sample);
            sum += sample;
        }
        record.maxSample = highest;
        record.minSample = lowest;
        record.peakToPeak = highest - lowest;
        record.meanSample = static_cast<double>(sum) / record.pointCount();
        for (int i = 0; i < kWavePointCount; ++i) {
            if (complex_) {
                complexIn_[i][0] = record.points[static_cast<std::size_t>(i)];
                complexIn_[i][1] = 0;
            } else {
                realIn_[i] = record.points[static_cast<std::size_t>(i)];
            }
        }
        fftw_execute(plan_);
        const std::int32_t peak = roundedMagnitudes(out_, magnitudes_.data(), bins_);
        record.harmonicCount = 1;
        for (int k = kWavePointCount / 2; k-- > 0;) {
            if (magnitudes_[static_cast<std::size_t>(k)] > peak / 20) {
                record.harmonicCount = k == 0 ? 1 : k;
                break;
            }
        }
    }

private:
    bool complex_;
    int bins_;
    fftw_complex* complexIn_ = nullptr;
    double* realIn_ = nullptr;
    fftw_complex* out_;
    fftw_plan plan_ = nullptr;
    std::vector<std::int32_t> magnitudes_;
};

// Arguments: complex input (1) or real input (0); FFTW_ESTIMATE (0) or FFTW_MEASURE (1).
void FftwStatistics16384(benchmark::State& state) {
    FftwStatistics fftw(state.range(0) == 1, state.range(1) == 1 ? FFTW_MEASURE : FFTW_ESTIMATE);
    WaveformRecord record = noiseRecord();
    WaveformRecord ours = record;
    computeStatistics(ours);
    fftw.compute(record);
    if (record != ours) {
        state.SkipWithError("FFTW's statistics differ from ours");
        return;
    }
    for (auto _ : state) {
        fftw.compute(record);
        benchmark::DoNotOptimize(record.harmonicCount);
    }
    state.SetLabel(std::string(state.range(0) == 1 ? "complex" : "real") +
                   (state.range(1) == 1 ? " measure" : " estimate"));
}
BENCHMARK(FftwStatistics16384)->ArgsProduct({{1, 0}, {0, 1}})->Unit(benchmark::kMicrosecond);

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
