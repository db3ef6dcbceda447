#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/UserError.h"

// The formula engine of the waveform editors: a one-line formula is parsed once into a sum of
// terms and then evaluated as often as needed with new values of its variables.
//
// The language: numbers ("." or "," as the point, no exponent), pi, the variables x, y, z and
// n (each only where the caller allows it), + - * / ^ (binding tighter than * and /, to the
// right), abs, sin and cos of the one operand that follows, parentheses, and a percent sign
// that turns a value into a point of the 0..16383 axis. There is no implicit multiplication
// and no white space. Any result whose magnitude is below 1e-6 becomes 0.

// Every failure of the engine; what() is the message the editors show.
class FormulaError : public UserError {
public:
    using UserError::UserError;
};

// The values that every expression reads: which symbols may be used (read when parsing and
// again when evaluating) and the values of the variables. The editors set it before each
// parse and each evaluation; n reads X.
struct FormulaContext {
    bool AllowX = false;
    bool AllowY = false;
    bool AllowZ = false;
    bool AllowN = false;
    bool AllowPercent = false;
    double X = 0;
    double Y = 0;
    double Z = 0;
};

enum class ItemKind : std::uint8_t { Operand = 0, Operator = 1 };

enum class OperatorCode : std::uint8_t {
    Multiply = 0,
    Divide = 1,
    Negate = 2,  // a minus sign that starts a term
    Abs = 3,
    Cos = 4,
    Sin = 5,
    Power = 6,
    Percent = 7,
};

enum class OperandType : std::uint8_t { Constant = 0, Variable = 1, Group = 2 };

// One element of a term.
struct TTermItem {
    ItemKind kind = ItemKind::Operand;
    OperatorCode operatorCode = OperatorCode::Multiply;  // operators only
    // A constant's value, a variable's number (1 x or n, 2 y, 3 z) or a group's child index.
    double value = 0;
    bool negate = false;  // the operand is negated after it is fetched
    OperandType operandType = OperandType::Constant;
};

class TComplexMath;

// One term: a product-like chain of items; every parenthesised group of the term is a child
// expression that a group item refers to by index.
struct TToken {
    std::vector<TTermItem> items;
    std::vector<std::unique_ptr<TComplexMath>> children;
};

// One expression: the sum of its terms.
class TComplexMath {
public:
    explicit TComplexMath(FormulaContext& context);
    ~TComplexMath();
    TComplexMath(const TComplexMath&) = delete;
    TComplexMath& operator=(const TComplexMath&) = delete;

    void setFormula(std::string_view text) { formula_ = text; }
    const std::string& formula() const { return formula_; }

    // Builds the terms, reading the context's permissions as they are now. Throws
    // FormulaError; the expression must then be parsed again before use. A text longer than
    // 4096 characters is refused with "Invalid formula".
    void parse();

    // The value for the context's variables as they are now; throws FormulaError. Does not
    // allocate (except for the error it throws).
    double evaluate() const;

    // evaluate() for each of xs as X in turn, into out (at least as long as xs), bit for bit.
    // Returns how many values were computed: all of them, or those before the first X whose
    // evaluation fails (evaluate() at that X raises the failure). X is left as it was. Blocks of
    // points go through each operation together; does not allocate.
    std::size_t evaluateEach(std::span<const double> xs, std::span<double> out) const;

    // Sets the formula, parses and evaluates it once.
    double evaluateText(std::string_view text);

    const std::vector<TToken>& terms() const { return terms_; }
    FormulaContext& context() const { return context_; }

private:
    struct ParserScratch;
    struct BlockRun;

    void parse(ParserScratch& scratch);
    void matchKeyword(ParserScratch& scratch);
    TToken& currentTerm() { return terms_[current_]; }
    void startTerm();
    void addOperand(ParserScratch& scratch, OperandType type, double value);
    void addGroup(ParserScratch& scratch, std::string text);
    void addOperator(ParserScratch& scratch, OperatorCode code);

    double evaluateTerm(const TToken& term) const;
    double fetch(const TToken& term, const TTermItem& item) const;
    double apply(const TToken& term, bool haveValue, OperatorCode code, std::size_t& position,
                 double left) const;

    // The same steps over a block of points; false as soon as any point fails.
    bool evaluateBlock(BlockRun& run, double* out) const;
    bool evaluateTermBlock(const TToken& term, BlockRun& run, double* value) const;
    bool fetchBlock(const TToken& term, const TTermItem& item, BlockRun& run, double* out) const;
    bool applyBlock(const TToken& term, bool haveValue, OperatorCode code, std::size_t& position,
                    const double* left, double* out, BlockRun& run) const;
    // How many work blocks a block evaluation may hold at once.
    std::size_t blockDepth() const;

    FormulaContext& context_;
    std::string formula_;
    std::vector<TToken> terms_;
    std::size_t current_ = 0;
    // The work blocks of evaluateEach, made when the parse succeeds (none for a formula too
    // deeply nested to be worth them: it is evaluated point by point).
    mutable std::vector<double> blocks_;
};

// True when every character is a digit, "." or "," (so also for an empty text).
bool isNumericText(std::string_view text);
