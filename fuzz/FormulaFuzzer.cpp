// The formula parser and evaluator of the waveform editors. The first byte sets the context's
// permissions; the rest is the formula, evaluated over a few values of x.
#include <cmath>
#include <string_view>

#include "FuzzCheck.h"
#include "generators/ComplexMath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FormulaContext context;
    context.AllowX = (data[0] & 1) != 0;
    context.AllowY = (data[0] & 2) != 0;
    context.AllowZ = (data[0] & 4) != 0;
    context.AllowN = (data[0] & 8) != 0;
    context.AllowPercent = (data[0] & 16) != 0;
    context.Y = -2.5;
    context.Z = 1e300;
    TComplexMath formula(context);
    formula.setFormula(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    try {
        formula.parse();
    } catch (const FormulaError&) {
        return 0;
    }
    for (double x : {0.0, -1.0, 3.14159, 1e-7, 16383.0, -1e308}) {
        context.X = x;
        try {
            const double value = formula.evaluate();
            FUZZ_CHECK(!std::isnan(value));
        } catch (const FormulaError&) {
        }
    }
    return 0;
}
