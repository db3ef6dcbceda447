#include "generators/ComplexMath.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

namespace {

constexpr const char* kInvalidFormula = "Invalid formula";
constexpr const char* kIncorrectFormula = "Incorrect formula";
constexpr const char* kNotDefined = "Formula not defined for whole range";
constexpr const char* kInvalidSyntax = "Invalid formula: invalid syntax: ";
constexpr const char* kUnterminated = "Invalid formula: unterminated () in (";

// The editors' fields hold at most 255 characters; a longer text (from a script, say) is
// refused before groups and operator chains nested in it could exhaust the stack.
constexpr std::size_t kMaxFormulaLength = 4096;

// pi to extended precision, stored into items as a double.
constexpr long double kPi = std::numbers::pi_v<long double>;

double flushTiny(double value) {
    return std::fabs(value) < 1e-6 ? 0 : value;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A numeric buffer as a number: digits with at most one point, no sign, space or exponent.
std::optional<double> convertNumber(std::string_view text) {
    if (text.empty() || !isNumericText(text)) return std::nullopt;
    return parseDecimal(text);
}

double integralPower(double base, std::uint64_t exponent) {
    double result = 1;
    while (exponent != 0) {
        if (exponent & 1) result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}

// The minus signs that start a term: the position of its first other item; `negate` tells
// whether they negate the term.
std::size_t leadingNegations(const std::vector<TTermItem>& items, bool& negate) {
    std::size_t i = 0;
    negate = false;
    for (; i < items.size() && items[i].kind == ItemKind::Operator &&
           items[i].operatorCode == OperatorCode::Negate;
         ++i)
        negate = !negate;
    return i;
}

// base^exponent into result; false where it is not defined.
bool power(double base, double exponent, double& result) {
    if (exponent == 0) {
        result = 1;
        return true;
    }
    if (base == 0 && exponent > 0) {
        result = 0;
        return true;
    }
    const double magnitude = std::fabs(exponent);
    if (std::trunc(exponent) == exponent && magnitude <= std::numeric_limits<std::int32_t>::max()) {
        // Integral exponents work for negative bases too.
        result = integralPower(base, static_cast<std::uint64_t>(magnitude));
        if (exponent > 0) return true;
        if (result == 0) return false;
        result = 1 / result;
        return true;
    }
    if (base <= 0) return false;
    result = std::exp(exponent * std::log(base));
    return true;
}

// Points evaluated together: enough to spread each operation's overhead, few enough for the
// blocks of a nested formula to stay in the first level cache.
constexpr std::size_t kBlockPoints = 64;
// A formula that would need more blocks than this is evaluated point by point.
constexpr std::size_t kMaxBlocks = 1024;

// The tiny-value flush and the finiteness test of an operation's results.
bool finishBlock(double* values, std::size_t count) {
    bool finite = true;
    for (std::size_t i = 0; i < count; ++i) {
        finite = finite && std::isfinite(values[i]);
        values[i] = flushTiny(values[i]);
    }
    return finite;
}

}  // namespace

// The parser's working state, shared by an expression and the groups parsed inside it, and
// reset at the start of every parse (a group's parse included).
struct TComplexMath::ParserScratch {
    std::string buffer;
    bool lastWasOperand = true;
    bool pendingNegation = false;
};

// One block of points on its way through an expression: the values of X and a stack of work
// blocks, one taken by each evaluation and operator in progress.
struct TComplexMath::BlockRun {
    std::size_t count;
    const double* xs;
    double* free;

    double* take() {
        double* block = free;
        free += kBlockPoints;
        return block;
    }
    void give() { free -= kBlockPoints; }
};

TComplexMath::TComplexMath(FormulaContext& context) : context_(context) {}

TComplexMath::~TComplexMath() = default;

bool isNumericText(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',')) return false;
    return true;
}

void TComplexMath::parse() {
    terms_.clear();
    blocks_.clear();
    if (formula_.size() > kMaxFormulaLength) throw FormulaError(kInvalidFormula);
    ParserScratch scratch;
    parse(scratch);
    const std::size_t depth = blockDepth();
    if (depth <= kMaxBlocks) blocks_.resize(depth * kBlockPoints);
}

// Each evaluation in progress holds one block and each operator in progress one more; at most
// one of each per expression and per item along any nesting.
std::size_t TComplexMath::blockDepth() const {
    std::size_t depth = 1;
    for (const TToken& term : terms_) {
        depth += term.items.size();
        for (const auto& child : term.children)
            depth += child->blockDepth();
    }
    return depth;
}

double TComplexMath::evaluateText(std::string_view text) {
    setFormula(text);
    parse();
    return evaluate();
}

void TComplexMath::startTerm() {
    terms_.emplace_back();
    current_ = terms_.size() - 1;
}

void TComplexMath::parse(ParserScratch& scratch) {
    terms_.clear();
    startTerm();
    scratch.buffer.clear();
    scratch.lastWasOperand = true;
    scratch.pendingNegation = false;
    int depth = 0;

    for (char raw : formula_) {
        const char c = lower(raw == ',' ? '.' : raw);
        std::string& buffer = scratch.buffer;
        const bool wasNumber = !buffer.empty() && depth == 0 && isNumericText(buffer);
        buffer += c;
        if (wasNumber && !isNumericText(buffer)) {
            buffer.pop_back();
            const std::optional<double> number = convertNumber(buffer);
            if (!number) throw FormulaError(kInvalidFormula);
            addOperand(scratch, OperandType::Constant, *number);
            scratch.buffer.assign(1, c);
        }
        // Everything inside parentheses is collected verbatim and parsed as a child.
        bool consumedByGroup = false;
        if (depth > 0) {
            consumedByGroup = true;
            if (c == '(') ++depth;
            if (c == ')') --depth;
            if (depth == 0) {
                scratch.buffer.pop_back();
                addGroup(scratch, std::move(scratch.buffer));
            }
        }
        if (c == '(' && depth == 0 && !consumedByGroup) {
            if (scratch.buffer != "(") throw FormulaError(kInvalidSyntax + scratch.buffer);
            scratch.buffer.clear();
            depth = 1;
        }
        if (depth != 0) continue;
        matchKeyword(scratch);
    }

    if (const std::optional<double> number = convertNumber(scratch.buffer)) {
        addOperand(scratch, OperandType::Constant, *number);
        scratch.buffer.clear();
    }
    if (!scratch.buffer.empty() && depth >= 1) throw FormulaError(kUnterminated + scratch.buffer);
    if (scratch.buffer.empty() || depth != 0) return;
    throw FormulaError(kInvalidSyntax + scratch.buffer);
}

// A keyword is recognised the moment the buffer equals it.
void TComplexMath::matchKeyword(ParserScratch& scratch) {
    const std::string& b = scratch.buffer;
    if (b == "*") {
        addOperator(scratch, OperatorCode::Multiply);
    } else if (b == "/") {
        addOperator(scratch, OperatorCode::Divide);
    } else if (b == "abs") {
        addOperator(scratch, OperatorCode::Abs);
    } else if (b == "cos") {
        addOperator(scratch, OperatorCode::Cos);
    } else if (b == "sin") {
        addOperator(scratch, OperatorCode::Sin);
    } else if (b == "^") {
        addOperator(scratch, OperatorCode::Power);
    } else if (b == "pi") {
        addOperand(scratch, OperandType::Constant, static_cast<double>(kPi));
    } else if (b == "%" && context_.AllowPercent) {
        addOperator(scratch, OperatorCode::Percent);
    } else if (b == "+") {
        startTerm();
        scratch.buffer.clear();
    } else if (b == "-") {
        if (scratch.lastWasOperand) {
            if (!currentTerm().items.empty()) startTerm();
            addOperator(scratch, OperatorCode::Negate);
        } else {
            scratch.pendingNegation = !scratch.pendingNegation;
        }
        scratch.buffer.clear();
    } else if (b == "x" && context_.AllowX) {
        addOperand(scratch, OperandType::Variable, 1);
    } else if (b == "y" && context_.AllowY) {
        addOperand(scratch, OperandType::Variable, 2);
    } else if (b == "z" && context_.AllowZ) {
        addOperand(scratch, OperandType::Variable, 3);
    } else if (b == "n" && context_.AllowN) {
        addOperand(scratch, OperandType::Variable, 1);
    }
}

void TComplexMath::addOperand(ParserScratch& scratch, OperandType type, double value) {
    TTermItem item;
    item.kind = ItemKind::Operand;
    item.operandType = type;
    item.value = value;
    item.negate = scratch.pendingNegation;
    scratch.pendingNegation = false;
    currentTerm().items.push_back(item);
    scratch.lastWasOperand = true;
    scratch.buffer.clear();
}

void TComplexMath::addGroup(ParserScratch& scratch, std::string text) {
    TTermItem item;
    item.kind = ItemKind::Operand;
    item.operandType = OperandType::Group;
    // The negation before the group is taken before the group is parsed.
    item.negate = scratch.pendingNegation;
    scratch.pendingNegation = false;
    TToken& term = currentTerm();
    item.value = static_cast<double>(term.children.size());
    term.children.push_back(std::make_unique<TComplexMath>(context_));
    term.items.push_back(item);
    TComplexMath& child = *term.children.back();
    child.setFormula(text);
    child.parse(scratch);
    scratch.lastWasOperand = true;
    scratch.buffer.clear();
}

void TComplexMath::addOperator(ParserScratch& scratch, OperatorCode code) {
    if (scratch.pendingNegation) throw FormulaError(kInvalidFormula);
    TTermItem item;
    item.kind = ItemKind::Operator;
    item.operatorCode = code;
    currentTerm().items.push_back(item);
    scratch.lastWasOperand = false;
    scratch.buffer.clear();
}

double TComplexMath::evaluate() const {
    double sum = 0;
    for (const TToken& term : terms_)
        sum += evaluateTerm(term);
    if (!std::isfinite(sum)) throw FormulaError(kNotDefined);
    return sum;
}

double TComplexMath::evaluateTerm(const TToken& term) const {
    const std::vector<TTermItem>& items = term.items;
    bool negateTerm = false;
    std::size_t i = leadingNegations(items, negateTerm);
    double value = 0;
    bool haveValue = false;
    for (; i < items.size(); ++i) {
        const TTermItem& item = items[i];
        if (item.kind == ItemKind::Operand) {
            if (haveValue) throw FormulaError(kInvalidFormula);  // two operands in a row
            value = fetch(term, item);
        } else {
            value = apply(term, haveValue, item.operatorCode, i, value);
        }
        haveValue = true;
    }
    return negateTerm ? -value : value;
}

double TComplexMath::fetch(const TToken& term, const TTermItem& item) const {
    double value = 0;
    switch (item.operandType) {
        case OperandType::Constant:
            value = item.value;
            break;
        case OperandType::Variable:
            if (item.value == 1) {
                if (!context_.AllowX) throw FormulaError("Unknown symbol:X");
                value = context_.X;
            } else if (item.value == 2) {
                if (!context_.AllowY) throw FormulaError("Unknown symbol:Y");
                value = context_.Y;
            } else {
                if (!context_.AllowZ) throw FormulaError("Unknown symbol:Z");
                value = context_.Z;
            }
            break;
        case OperandType::Group:
            value = term.children[static_cast<std::size_t>(item.value)]->evaluate();
            break;
    }
    value = flushTiny(value);
    return item.negate ? -value : value;
}

double TComplexMath::apply(const TToken& term, bool haveValue, OperatorCode code,
                           std::size_t& position, double left) const {
    const std::vector<TTermItem>& items = term.items;
    double right = 0;
    if (code != OperatorCode::Percent) {
        ++position;
        if (position >= items.size()) throw FormulaError(kIncorrectFormula);
        const TTermItem& next = items[position];
        const bool function =
            code == OperatorCode::Sin || code == OperatorCode::Cos || code == OperatorCode::Abs;
        if (next.kind == ItemKind::Operator) {
            // 2*sin x: the function is applied first.
            right = apply(term, false, next.operatorCode, position, left);
        } else if (!function && position + 1 < items.size() &&
                   items[position + 1].kind == ItemKind::Operator &&
                   items[position + 1].operatorCode == OperatorCode::Power) {
            // ^ binds tighter than * and / and to the right; sin x^2 is (sin x)^2.
            right = fetch(term, next);
            ++position;
            right = apply(term, true, OperatorCode::Power, position, right);
        } else {
            right = fetch(term, next);
        }
    }

    double result = 0;
    switch (code) {
        case OperatorCode::Percent:
            // A percentage of the 0..16383 point axis: 50% is point 8192.
            result = static_cast<double>(roundHalfEven(16383.0L * left / 100));
            break;
        case OperatorCode::Multiply:
            if (!haveValue) throw FormulaError(kInvalidFormula);
            result = left * right;
            break;
        case OperatorCode::Divide:
            if (!haveValue) throw FormulaError(kInvalidFormula);
            if (right == 0) throw FormulaError(kNotDefined);
            result = left / right;
            break;
        case OperatorCode::Negate:
            result = -right;
            break;
        case OperatorCode::Abs:
            result = std::fabs(right);
            break;
        case OperatorCode::Cos:
            result = std::cos(right);
            break;
        case OperatorCode::Sin:
            result = std::sin(right);
            break;
        case OperatorCode::Power:
            if (!haveValue) throw FormulaError(kInvalidFormula);
            if (!power(left, right, result)) throw FormulaError(kNotDefined);
            break;
    }
    if (!std::isfinite(result)) throw FormulaError(kNotDefined);
    return flushTiny(result);
}

std::size_t TComplexMath::evaluateEach(std::span<const double> xs, std::span<double> out) const {
    assert(out.size() >= xs.size());
    std::size_t done = 0;
    while (done < xs.size()) {
        const std::size_t count = std::min(kBlockPoints, xs.size() - done);
        if (!blocks_.empty()) {
            BlockRun run{count, xs.data() + done, blocks_.data()};
            if (evaluateBlock(run, out.data() + done)) {
                done += count;
                continue;
            }
        }
        // A block that fails somewhere, point by point, to find the first failing point.
        const double x = context_.X;
        for (std::size_t end = done + count; done < end; ++done) {
            context_.X = xs[done];
            try {
                out[done] = evaluate();
            } catch (const FormulaError&) {
                context_.X = x;
                return done;
            }
        }
        context_.X = x;
    }
    return done;
}

bool TComplexMath::evaluateBlock(BlockRun& run, double* out) const {
    const std::size_t n = run.count;
    std::fill_n(out, n, 0.0);
    double* value = run.take();
    for (const TToken& term : terms_) {
        if (!evaluateTermBlock(term, run, value)) return false;
        for (std::size_t i = 0; i < n; ++i)
            out[i] += value[i];
    }
    run.give();
    bool finite = true;
    for (std::size_t i = 0; i < n; ++i)
        finite = finite && std::isfinite(out[i]);
    return finite;
}

bool TComplexMath::evaluateTermBlock(const TToken& term, BlockRun& run, double* value) const {
    const std::vector<TTermItem>& items = term.items;
    bool negateTerm = false;
    std::size_t i = leadingNegations(items, negateTerm);
    std::fill_n(value, run.count, 0.0);
    bool haveValue = false;
    for (; i < items.size(); ++i) {
        const TTermItem& item = items[i];
        if (item.kind == ItemKind::Operand) {
            if (haveValue || !fetchBlock(term, item, run, value)) return false;
        } else if (!applyBlock(term, haveValue, item.operatorCode, i, value, value, run)) {
            return false;
        }
        haveValue = true;
    }
    if (negateTerm) {
        for (std::size_t k = 0; k < run.count; ++k)
            value[k] = -value[k];
    }
    return true;
}

bool TComplexMath::fetchBlock(const TToken& term, const TTermItem& item, BlockRun& run,
                              double* out) const {
    const std::size_t n = run.count;
    switch (item.operandType) {
        case OperandType::Constant:
            std::fill_n(out, n, item.value);
            break;
        case OperandType::Variable:
            if (item.value == 1) {
                if (!context_.AllowX) return false;
                std::copy_n(run.xs, n, out);
            } else if (item.value == 2) {
                if (!context_.AllowY) return false;
                std::fill_n(out, n, context_.Y);
            } else {
                if (!context_.AllowZ) return false;
                std::fill_n(out, n, context_.Z);
            }
            break;
        case OperandType::Group:
            if (!term.children[static_cast<std::size_t>(item.value)]->evaluateBlock(run, out))
                return false;
            break;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double value = flushTiny(out[i]);
        out[i] = item.negate ? -value : value;
    }
    return true;
}

bool TComplexMath::applyBlock(const TToken& term, bool haveValue, OperatorCode code,
                              std::size_t& position, const double* left, double* out,
                              BlockRun& run) const {
    const std::vector<TTermItem>& items = term.items;
    const std::size_t n = run.count;
    double* right = run.take();
    if (code != OperatorCode::Percent) {
        ++position;
        if (position >= items.size()) return false;
        const TTermItem& next = items[position];
        const bool function =
            code == OperatorCode::Sin || code == OperatorCode::Cos || code == OperatorCode::Abs;
        if (next.kind == ItemKind::Operator) {
            if (!applyBlock(term, false, next.operatorCode, position, left, right, run))
                return false;
        } else if (!function && position + 1 < items.size() &&
                   items[position + 1].kind == ItemKind::Operator &&
                   items[position + 1].operatorCode == OperatorCode::Power) {
            if (!fetchBlock(term, next, run, right)) return false;
            ++position;
            if (!applyBlock(term, true, OperatorCode::Power, position, right, right, run))
                return false;
        } else if (!fetchBlock(term, next, run, right)) {
            return false;
        }
    }

    const bool needsLeft = code == OperatorCode::Multiply || code == OperatorCode::Divide ||
                           code == OperatorCode::Power;
    if (needsLeft && !haveValue) return false;
    switch (code) {
        case OperatorCode::Percent:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = static_cast<double>(roundHalfEven(16383.0L * left[i] / 100));
            break;
        case OperatorCode::Multiply:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = left[i] * right[i];
            break;
        case OperatorCode::Divide:
            for (std::size_t i = 0; i < n; ++i) {
                if (right[i] == 0) return false;
                out[i] = left[i] / right[i];
            }
            break;
        case OperatorCode::Negate:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = -right[i];
            break;
        case OperatorCode::Abs:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = std::fabs(right[i]);
            break;
        case OperatorCode::Cos:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = std::cos(right[i]);
            break;
        case OperatorCode::Sin:
            for (std::size_t i = 0; i < n; ++i)
                out[i] = std::sin(right[i]);
            break;
        case OperatorCode::Power:
            for (std::size_t i = 0; i < n; ++i) {
                if (!power(left[i], right[i], out[i])) return false;
            }
            break;
    }
    run.give();
    return finishBlock(out, n);
}
