#pragma once

#include <cstdint>
#include <string_view>

#include "generators/ComplexMath.h"

// The harmonic composer's "Math level": a formula of the harmonic number n that proposes the
// level of each harmonic of a group. Parsed once with n (and x, its other name) allowed and y
// and z not.
class HarmonicLevelFormula {
public:
    // Throws FormulaError.
    explicit HarmonicLevelFormula(std::string_view formula);

    // The value for harmonic n rounded to 4 decimals; throws FormulaError.
    double level(std::int32_t n);

private:
    FormulaContext context_;
    TComplexMath expression_{context_};
};
