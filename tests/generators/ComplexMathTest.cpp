#include "generators/ComplexMath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "AllocationCounter.h"

namespace {

class Formula : public ::testing::Test {
protected:
    double eval(const std::string& text) {
        TComplexMath expression(context);
        return expression.evaluateText(text);
    }
    // The message of the failure, or "" when the formula evaluates.
    std::string failure(const std::string& text) {
        try {
            eval(text);
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "";
    }
    std::string parseFailure(const std::string& text) {
        TComplexMath expression(context);
        expression.setFormula(text);
        try {
            expression.parse();
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "";
    }

    FormulaContext context;
};

}  // namespace

TEST_F(Formula, SinOfAGroupAndTheTinyValueFlush) {
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula("sin(x)");
    expression.parse();
    ASSERT_EQ(expression.terms().size(), 1u);
    const TToken& term = expression.terms()[0];
    ASSERT_EQ(term.items.size(), 2u);
    EXPECT_EQ(term.items[0].kind, ItemKind::Operator);
    EXPECT_EQ(term.items[0].operatorCode, OperatorCode::Sin);
    EXPECT_EQ(term.items[1].kind, ItemKind::Operand);
    EXPECT_EQ(term.items[1].operandType, OperandType::Group);
    ASSERT_EQ(term.children.size(), 1u);
    EXPECT_EQ(term.children[0]->formula(), "x");

    context.X = std::numbers::pi;
    EXPECT_EQ(expression.evaluate(), 0.0) << "1.2e-16 is flushed to 0";
    context.X = std::numbers::pi / 2;
    EXPECT_DOUBLE_EQ(expression.evaluate(), 1.0);
    EXPECT_EQ(eval("0.0000001"), 0.0);
    EXPECT_EQ(eval("0.000001"), 0.000001);
}

TEST_F(Formula, PrecedenceAndSigns) {
    EXPECT_EQ(eval("2*3^2"), 18);
    EXPECT_EQ(eval("2^3*2"), 16);
    EXPECT_EQ(eval("2^3^2"), 512) << "^ associates to the right";
    EXPECT_EQ(eval("2*-3"), -6);
    EXPECT_EQ(eval("--3"), 3);
    EXPECT_EQ(eval("1+2*3"), 7);
    EXPECT_EQ(eval("8/2/2"), 2);
    EXPECT_EQ(eval("2-3-4"), -5);
    EXPECT_EQ(eval("-(2+3)*2"), -10);
    EXPECT_EQ(eval("abs-3"), 3);
    EXPECT_EQ(eval("(-2)^3"), -8) << "integral exponents take negative bases";
    EXPECT_EQ(eval("2^-2"), 0.25);
    EXPECT_EQ(eval("0^0"), 1);
    EXPECT_EQ(eval("0^2"), 0);
    EXPECT_DOUBLE_EQ(eval("4^0.5"), 2);
    EXPECT_DOUBLE_EQ(eval("2*pi"), 2 * std::numbers::pi);
    EXPECT_EQ(eval("3,5*2"), 7) << "a comma is a decimal point";
    EXPECT_EQ(eval("((1+1))*(3)"), 6);
    EXPECT_EQ(eval(""), 0);
    EXPECT_EQ(eval("-"), 0);

    context.AllowX = true;
    context.X = 3;
    EXPECT_EQ(eval("-x^2"), -9);
    EXPECT_EQ(eval("x-"), 3) << "a trailing negate-only term adds 0";
    EXPECT_EQ(eval("X*2"), 6) << "keywords in any letter case";
    context.X = std::numbers::pi / 2;
    EXPECT_DOUBLE_EQ(eval("2*sinx"), 2) << "the function is applied first";
    EXPECT_DOUBLE_EQ(eval("sinx^2"), 1) << "(sin x)^2";
    EXPECT_DOUBLE_EQ(eval("SIN(X)+COS(X)"), 1);
}

TEST_F(Formula, SyntaxErrors) {
    EXPECT_EQ(parseFailure("1e5"), "Invalid formula: invalid syntax: e5");
    EXPECT_EQ(parseFailure("x"), "Invalid formula: invalid syntax: x") << "x not allowed";
    EXPECT_EQ(parseFailure("x)"), "Invalid formula: invalid syntax: x)");
    EXPECT_EQ(parseFailure("2)"), "Invalid formula: invalid syntax: )");
    EXPECT_EQ(parseFailure("sin x"), "Invalid formula: invalid syntax:  x") << "no white space";
    EXPECT_EQ(parseFailure("q(1)"), "Invalid formula: invalid syntax: q(");
    EXPECT_EQ(parseFailure("1.2.3*2"), "Invalid formula");
    EXPECT_EQ(parseFailure("2*-*3"), "Invalid formula") << "an operator after a pending minus";
    context.AllowX = true;
    EXPECT_EQ(parseFailure("(x+1"), "Invalid formula: unterminated () in (x+1");
    EXPECT_EQ(parseFailure("x)"), "Invalid formula: invalid syntax: )");
    EXPECT_EQ(parseFailure("(x+1))"), "Invalid formula: invalid syntax: )");
    EXPECT_EQ(parseFailure("(x+(1)"), "Invalid formula: unterminated () in (x+(1)");
    EXPECT_EQ(parseFailure("1+(1e5)"), "Invalid formula: invalid syntax: e5") << "from the group";
    EXPECT_EQ(parseFailure(std::string(4096, '0') + "1"), "Invalid formula");
    EXPECT_EQ(parseFailure(std::string(4095, '0') + "1"), "");
}

TEST_F(Formula, EvaluationErrors) {
    context.AllowX = true;
    EXPECT_EQ(failure("2x"), "Invalid formula") << "no implicit multiplication";
    EXPECT_EQ(failure("2*3x^2"), "Invalid formula") << "an operand is never skipped";
    EXPECT_EQ(failure("(x)(x)"), "Invalid formula");
    EXPECT_EQ(failure("^2"), "Invalid formula");
    EXPECT_EQ(failure("*3"), "Invalid formula");
    EXPECT_EQ(failure("2*"), "Incorrect formula");
    EXPECT_EQ(failure("sin"), "Incorrect formula");
    EXPECT_EQ(failure("1/0"), "Formula not defined for whole range");
    EXPECT_EQ(failure("0/0"), "Formula not defined for whole range");
    EXPECT_EQ(failure("(-8)^0.5"), "Formula not defined for whole range");
    EXPECT_EQ(failure("0^-1"), "Formula not defined for whole range");
    EXPECT_EQ(failure("(-8)^(1/3)"), "Formula not defined for whole range");
    EXPECT_EQ(failure("0^-0.5"), "Formula not defined for whole range");
    EXPECT_EQ(failure("10^400"), "Formula not defined for whole range") << "overflow";
    EXPECT_EQ(failure("2^5000.5"), "Formula not defined for whole range");
    EXPECT_EQ(failure("1/0.0000001"), "Formula not defined for whole range")
        << "the divisor was flushed to 0";
}

TEST_F(Formula, PermissionsAtParseAndEvaluation) {
    context.AllowY = true;
    context.AllowZ = true;
    context.Y = 2;
    context.Z = 5;
    TComplexMath expression(context);
    expression.setFormula("y*z");
    expression.parse();
    EXPECT_EQ(expression.evaluate(), 10);
    context.AllowY = false;
    EXPECT_THROW(
        {
            try {
                expression.evaluate();
            } catch (const FormulaError& error) {
                EXPECT_STREQ(error.what(), "Unknown symbol:Y");
                throw;
            }
        },
        FormulaError);
    context.AllowY = true;
    context.AllowZ = false;
    EXPECT_THROW(expression.evaluate(), FormulaError);

    context.AllowX = true;
    expression.setFormula("x");
    expression.parse();
    context.AllowX = false;
    try {
        expression.evaluate();
        FAIL();
    } catch (const FormulaError& error) {
        EXPECT_STREQ(error.what(), "Unknown symbol:X");
    }
}

TEST_F(Formula, HarmonicNumberReadsX) {
    context.AllowX = true;
    context.AllowN = true;
    context.X = 3;
    EXPECT_EQ(eval("-6*n"), -18);
    context.AllowN = false;
    EXPECT_EQ(parseFailure("n"), "Invalid formula: invalid syntax: n");
}

TEST_F(Formula, PercentOfThePointAxis) {
    EXPECT_EQ(parseFailure("50%"), "Invalid formula: invalid syntax: %");
    context.AllowPercent = true;
    EXPECT_EQ(eval("50%"), 8192) << "8191.5 rounds to the even 8192";
    EXPECT_EQ(eval("100%"), 16383);
    EXPECT_EQ(eval("0%"), 0);
    EXPECT_EQ(eval("(25+25)%"), 8192);
    EXPECT_EQ(eval("10%+1"), 1639);
}

TEST_F(Formula, ReparsingReplacesTheTerms) {
    TComplexMath expression(context);
    expression.setFormula("1+2+3");
    expression.parse();
    EXPECT_EQ(expression.terms().size(), 3u);
    EXPECT_EQ(expression.evaluateText("5"), 5);
    EXPECT_EQ(expression.terms().size(), 1u);
}

TEST_F(Formula, NumericText) {
    EXPECT_TRUE(isNumericText(""));
    EXPECT_TRUE(isNumericText("1,5"));
    EXPECT_TRUE(isNumericText("0.25"));
    EXPECT_FALSE(isNumericText("1e5"));
    EXPECT_FALSE(isNumericText("-1"));
    EXPECT_FALSE(isNumericText(" 1"));
}

TEST_F(Formula, EvaluationDoesNotAllocate) {
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula("sin(x)*abs(cos(3*x))^2+(x/2-1)^3");
    expression.parse();
    double sum = 0;
    const std::size_t before = allocationCount();
    for (int i = 0; i < 16384; ++i) {
        context.X = i * 0.001;
        sum += expression.evaluate();
    }
    EXPECT_EQ(allocationCount(), before);
    EXPECT_NE(sum, 0);
}

// evaluateEach against evaluate() point by point, bit for bit, and up to the same failing point.
TEST_F(Formula, EvaluateEachEqualsEvaluatePointByPoint) {
    std::vector<double> xs;
    for (int i = -700; i <= 700; ++i)
        xs.push_back(i / 100.0);
    for (double x : {1e-7, -1e-7, 1e-6, -1e-6, 0.5, 2.5, 1e300, 3.0})
        xs.push_back(x);
    const char* corpus[] = {"sin(x)*abs(cos(3*x))^2",
                            "sin(x)*abs(cos(3*x))^2+(x/2-1)^3",
                            "x",
                            "-x",
                            "--x",
                            "x-",
                            "-(x)+2",
                            "2*-x",
                            "+x",
                            "1/x",
                            "1/(x-1)",
                            "(x-2)^0.5",
                            "x^-1",
                            "x^3.5",
                            "abs(x)^0.5",
                            "x^x",
                            "(x/1000000)",
                            "0.000001*x",
                            "x*x*x*x",
                            "cosx^2",
                            "sin-x",
                            "2*sinx^2",
                            "2^x^2",
                            "y*x+z",
                            "x%",
                            "10*%",
                            "10^(x*100)",
                            "(x)(x)",
                            "2*",
                            "sin",
                            "x*(1+(2*(3-(x/4))))"};
    context.AllowX = true;
    context.AllowY = true;
    context.AllowZ = true;
    context.AllowPercent = true;
    context.Y = 0.25;
    context.Z = -3;
    TComplexMath expression(context);
    std::vector<double> values(xs.size());
    for (const char* formula : corpus) {
        SCOPED_TRACE(formula);
        expression.setFormula(formula);
        expression.parse();
        context.X = 42;
        const std::size_t done = expression.evaluateEach(xs, values);
        EXPECT_EQ(context.X, 42) << "X is left as it was";
        std::size_t firstFailure = xs.size();
        for (std::size_t i = 0; i < xs.size() && firstFailure == xs.size(); ++i) {
            context.X = xs[i];
            try {
                const double expected = expression.evaluate();
                ASSERT_LT(i, done);
                ASSERT_EQ(std::memcmp(&values[i], &expected, sizeof expected), 0)
                    << "x " << xs[i] << ": " << values[i] << " instead of " << expected;
            } catch (const FormulaError&) {
                firstFailure = i;
            }
        }
        EXPECT_EQ(done, firstFailure);
    }
    expression.setFormula("x+1");
    expression.parse();
    context.AllowX = false;
    EXPECT_EQ(expression.evaluateEach(xs, values), 0u) << "Unknown symbol:X at the first point";
}

TEST_F(Formula, EvaluateEachDoesNotAllocate) {
    context.AllowX = true;
    TComplexMath expression(context);
    expression.setFormula("sin(x)*abs(cos(3*x))^2+(x/2-1)^3");
    expression.parse();
    std::vector<double> xs(16384);
    for (std::size_t i = 0; i < xs.size(); ++i)
        xs[i] = static_cast<double>(i) * 0.001;
    std::vector<double> values(xs.size());
    const std::size_t before = allocationCount();
    EXPECT_EQ(expression.evaluateEach(xs, values), xs.size());
    EXPECT_EQ(allocationCount(), before);
}
