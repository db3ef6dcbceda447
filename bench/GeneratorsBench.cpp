// The formula engine's costs: one evaluation per waveform point, and a whole editor slot,
// beside muparser (linked by this benchmark only) on the same formula and points.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "generators/ComplexMath.h"
#include "generators/FormulaWaveform.h"
#include "waves/PredefinedWaveforms.h"

namespace {

constexpr int kPoints = 16384;
constexpr const char* kFormula = "sin(x)*abs(cos(3*x))^2";
// Our engine applies ^ to the product before it (2*sin x^2 is (2*sin x)^2 here, as in the
// instrument's original software); muparser gets the parentheses that make it compute the
// same values.
constexpr const char* kSameFormulaForMuparser = "(sin(x)*abs(cos(3*x)))^2";

double pointX(int i) {
    return i * 2 * std::numbers::pi / (kPoints - 1);
}

std::vector<double> pointXs() {
    std::vector<double> xs(kPoints);
    for (int i = 0; i < kPoints; ++i)
        xs[static_cast<std::size_t>(i)] = pointX(i);
    return xs;
}

// Ours at point i, for checking that the peer computes the same.
double ourValue(int i) {
    FormulaContext context;
    context.AllowX = true;
    context.X = pointX(i);
    TComplexMath expression(context);
    return expression.evaluateText(kFormula);
}

// Point by point, as the harmonic composer and a single value use it.
void EvaluateFormula16384Points(benchmark::State& state) {
    FormulaContext context;
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula(kFormula);
    expression.parse();
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < kPoints; ++i) {
            context.X = pointX(i);
            sum += expression.evaluate();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(EvaluateFormula16384Points)->Unit(benchmark::kMicrosecond);

// All points at once, as the formula editor evaluates a slot.
void EvaluateFormulaEach16384Points(benchmark::State& state) {
    FormulaContext context;
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula(kFormula);
    expression.parse();
    const std::vector<double> xs = pointXs();
    std::vector<double> values(kPoints);
    for (auto _ : state) {
        benchmark::DoNotOptimize(expression.evaluateEach(xs, values));
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(EvaluateFormulaEach16384Points)->Unit(benchmark::kMicrosecond);

// Arguments: point by point (0) or muparser's bulk mode over all points (1).
void MuparserFormula16384Points(benchmark::State& state) {
    std::vector<double> xs = pointXs();
    std::vector<double> values(kPoints);
    double x = 0;
    mu::Parser parser;
    if (state.range(0) == 1)
        parser.DefineVar("x", xs.data());
    else
        parser.DefineVar("x", &x);
    parser.SetExpr(kSameFormulaForMuparser);
    // The same values, but for ours flushing those below 1e-6 to 0.
    if (state.range(0) == 1) parser.Eval(values.data(), kPoints);
    for (int i = 0; i < kPoints; i += 7) {
        x = pointX(i);
        const double value =
            state.range(0) == 1 ? values[static_cast<std::size_t>(i)] : parser.Eval();
        if (std::fabs(value - ourValue(i)) > 1e-6) {
            state.SkipWithError("muparser computes other values than ours");
            return;
        }
    }
    double sum = 0;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            parser.Eval(values.data(), kPoints);
            benchmark::DoNotOptimize(values.data());
        } else {
            sum = 0;
            for (int i = 0; i < kPoints; ++i) {
                x = pointX(i);
                sum += parser.Eval();
            }
            benchmark::DoNotOptimize(sum);
        }
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
    state.SetLabel(state.range(0) == 1 ? "bulk" : "point by point");
}
BENCHMARK(MuparserFormula16384Points)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
