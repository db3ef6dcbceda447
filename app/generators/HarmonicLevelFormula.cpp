#include "generators/HarmonicLevelFormula.h"

#include "generators/HarmonicParameterBlock.h"

HarmonicLevelFormula::HarmonicLevelFormula(std::string_view formula) {
    context_.AllowX = true;
    context_.AllowY = false;
    context_.AllowZ = false;
    context_.AllowN = true;
    expression_.setFormula(formula);
    expression_.parse();
}

double HarmonicLevelFormula::level(std::int32_t n) {
    context_.X = n;
    return roundedHarmonicLevel(expression_.evaluate());
}
