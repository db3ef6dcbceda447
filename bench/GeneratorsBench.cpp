// The formula engine's costs: one evaluation per waveform point, and a whole editor slot.
#include <benchmark/benchmark.h>

#include <numbers>

#include "generators/ComplexMath.h"
#include "generators/FormulaWaveform.h"
#include "waves/PredefinedWaveforms.h"

namespace {

void EvaluateFormula16384Points(benchmark::State& state) {
    FormulaContext context;
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula("sin(x)*abs(cos(3*x))^2");
    expression.parse();
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 16384; ++i) {
            context.X = i * 2 * std::numbers::pi / 16383;
            sum += expression.evaluate();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 16384);
}
BENCHMARK(EvaluateFormula16384Points)->Unit(benchmark::kMicrosecond);

void ComputeDefaultFormulaSlot(benchmark::State& state) {
    FormulaContext context;
    TComplexMath expression(context);
    MathParameterBlock block;
    setSimpleFormula(block, MathSlot{}, MathConstants{});
    WaveformRecord record = untitledWaveform();
    for (auto _ : state) {
        computeFormulaSlot(block, 0, expression, record);
        benchmark::DoNotOptimize(record.points.data());
    }
}
BENCHMARK(ComputeDefaultFormulaSlot)->Unit(benchmark::kMicrosecond);

}  // namespace
