#include "generators/FormulaWaveform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "core/Rounding.h"
#include "waves/WaveformStatistics.h"

namespace {

constexpr const char* kVariablesStage = "Variables conversion";
constexpr const char* kRangeStage = "Range conversion";
constexpr const char* kCheckingStage = "Formula checking";
constexpr const char* kFormulaStage = "Formula";

constexpr const char* kInvalidWaveRange = "Invalid wave range";

// Runs one stage; an error of the engine or of a check leaves it with the stage's name.
void stage(const char* name, const std::function<void()>& work) {
    try {
        work();
    } catch (const UserError& error) {
        throw FormulaError(std::string(name) + ": " + error.what());
    }
}

void convertConstants(const MathConstants& constants, TComplexMath& expression) {
    FormulaContext& context = expression.context();
    context.AllowPercent = false;
    context.AllowX = false;
    context.AllowY = constants.allowY;
    context.AllowZ = constants.allowZ;
    if (constants.allowY) context.Y = expression.evaluateText(constants.yValue);
    if (constants.allowZ) context.Z = expression.evaluateText(constants.zValue);
}

struct Ranges {
    double realStart;
    double realEnd;
    double waveStart;
    double waveEnd;
};

Ranges convertRanges(const MathSlot& slot, TComplexMath& expression) {
    expression.context().AllowPercent = true;
    return {expression.evaluateText(slot.realStart), expression.evaluateText(slot.realEnd),
            expression.evaluateText(slot.waveStart), expression.evaluateText(slot.waveEnd)};
}

// The points the slot writes: round(ws) .. round(ws) + round(we - ws), all inside the record
// (the text leaves this open; a range outside it would write beyond the samples).
struct PointSpan {
    std::int64_t first;
    std::int64_t steps;
};

PointSpan pointSpanOf(const Ranges& ranges, std::size_t pointCount) {
    const double width = ranges.waveEnd - ranges.waveStart;
    if (!(width > 0)) throw UserError(kInvalidWaveRange);
    const long double first = roundHalfEven(static_cast<long double>(ranges.waveStart));
    const long double steps = roundHalfEven(static_cast<long double>(width));
    if (!(first >= 0) || !(first + steps < static_cast<long double>(pointCount)))
        throw UserError(kInvalidWaveRange);
    return {static_cast<std::int64_t>(first), static_cast<std::int64_t>(steps)};
}

// A slot's formula parsed with x allowed, evaluated at point i of the wave range, that is at
// x = real start + i * (real end - real start) / (wave end - wave start).
class SlotFormula {
public:
    SlotFormula(const std::string& formula, const Ranges& ranges, TComplexMath& expression)
        : ranges_(ranges), expression_(expression) {
        FormulaContext& context = expression.context();
        context.AllowPercent = false;
        context.AllowX = true;
        expression.setFormula(formula);
        expression.parse();
    }

    // Calls store(i, value) for the points i = 0 .. steps in order. A point whose evaluation
    // fails raises its error, the points before it stored.
    template <typename Store>
    void forEachPoint(std::int64_t steps, Store store) {
        constexpr std::int64_t kChunk = 256;
        std::array<double, kChunk> xs;
        std::array<double, kChunk> values;
        std::int64_t i = 0;
        while (i <= steps) {
            const std::int64_t count = std::min(kChunk, steps + 1 - i);
            for (std::int64_t k = 0; k < count; ++k)
                xs[static_cast<std::size_t>(k)] = x(i + k);
            const auto size = static_cast<std::size_t>(count);
            const auto done = static_cast<std::int64_t>(
                expression_.evaluateEach({xs.data(), size}, {values.data(), size}));
            for (std::int64_t k = 0; k < done; ++k)
                store(i + k, values[static_cast<std::size_t>(k)]);
            i += done;
            // The point where the evaluation stopped raises its failure.
            if (done < count) {
                expression_.context().X = x(i);
                store(i, expression_.evaluate());
                ++i;
            }
        }
    }

private:
    double x(std::int64_t i) const {
        const double realWidth = ranges_.realEnd - ranges_.realStart;
        const double waveWidth = ranges_.waveEnd - ranges_.waveStart;
        return ranges_.realStart + static_cast<double>(i) * realWidth / waveWidth;
    }

    const Ranges& ranges_;
    TComplexMath& expression_;
};

bool isWholeNumber(double value) {
    return std::isfinite(value) && std::trunc(value) == value;
}

}  // namespace

void addFormulaSlot(MathParameterBlock& block, int replaceIndex, const MathSlot& slot,
                    const MathConstants& constants, TComplexMath& expression) {
    const bool append = replaceIndex < 0 || replaceIndex >= block.count;
    if (append && block.count >= kMaxFormulaSlots) throw FormulaError(kTooManyFormulas);

    stage(kVariablesStage, [&] { convertConstants(constants, expression); });
    Ranges ranges{};
    stage(kRangeStage, [&] {
        ranges = convertRanges(slot, expression);
        if (!isWholeNumber(ranges.waveStart) || !isWholeNumber(ranges.waveEnd))
            throw UserError("Wave range must be integer value");
        if (!(ranges.realEnd > ranges.realStart)) throw UserError("Invalid real range");
        pointSpanOf(ranges, kWavePointCount);
    });
    stage(kCheckingStage, [&] {
        // Proves the formula defined over the whole range; the values are not kept.
        SlotFormula formula(slot.formula, ranges, expression);
        formula.forEachPoint(pointSpanOf(ranges, kWavePointCount).steps,
                             [](std::int64_t, double) {});
    });

    const int index = append ? block.count++ : replaceIndex;
    block.slots[static_cast<std::size_t>(index)] = slot;
    block.constants = constants;
}

void deleteFormulaSlot(MathParameterBlock& block, int index) {
    if (index < 0 || index >= block.count) return;
    for (int k = index; k + 1 < block.count; ++k)
        block.slots[static_cast<std::size_t>(k)] = block.slots[static_cast<std::size_t>(k) + 1];
    --block.count;
}

void setSimpleFormula(MathParameterBlock& block, const MathSlot& slot,
                      const MathConstants& constants) {
    block.slots[0] = slot;
    block.constants = constants;
    block.count = 1;
}

void computeFormulaSlot(const MathParameterBlock& block, int k, TComplexMath& expression,
                        WaveformRecord& record) {
    const MathSlot& slot = block.slots.at(static_cast<std::size_t>(k));
    stage(kVariablesStage, [&] { convertConstants(block.constants, expression); });
    Ranges ranges{};
    PointSpan points{};
    stage(kRangeStage, [&] {
        ranges = convertRanges(slot, expression);
        points = pointSpanOf(ranges, record.points.size());
    });
    stage(kFormulaStage, [&] {
        SlotFormula formula(slot.formula, ranges, expression);
        auto write = [&](std::int64_t i, double value, double scale, double offset) {
            value = value * scale + offset;
            value = value > 255 ? 255 : value >= 1 ? value : 1;
            record.points[static_cast<std::size_t>(points.first + i)] =
                static_cast<std::uint8_t>(roundHalfEven(value));
        };
        if (!block.normalize) {
            formula.forEachPoint(points.steps,
                                 [&](std::int64_t i, double value) { write(i, value, 1, 0); });
            return;
        }
        // The values are kept from the pass that finds their range.
        thread_local std::vector<double> values;
        values.resize(static_cast<std::size_t>(points.steps) + 1);
        formula.forEachPoint(points.steps, [&](std::int64_t i, double value) {
            values[static_cast<std::size_t>(i)] = value;
        });
        double maximum = values[0];
        double minimum = maximum;
        for (double value : values) {
            maximum = std::max(maximum, value);
            minimum = std::min(minimum, value);
        }
        double scale = 1;
        double offset = 0;
        if (maximum - minimum != 0) {
            scale = 254 / (maximum - minimum);
            offset = 1 - minimum * scale;
        }
        for (std::size_t i = 0; i < values.size(); ++i)
            write(static_cast<std::int64_t>(i), values[i], scale, offset);
    });
}

bool computeFormulaWaveform(const MathParameterBlock& block, TComplexMath& expression,
                            WaveformRecord& record, UserMessages& messages) {
    bool allComputed = true;
    for (int k = 0; k < block.count; ++k) {
        try {
            computeFormulaSlot(block, k, expression, record);
        } catch (const FormulaError& error) {
            messages.error(error.what());
            allComputed = false;
        }
    }
    return allComputed;
}

void finishFormulaWaveform(const MathParameterBlock& block, WaveformRecord& record) {
    record.generatorKind = kGeneratorFormula;
    record.optionsKind =
        block.constants.allowY || block.constants.allowZ ? kOptionsFormula : kOptionsNone;
    record.params = encodeMathParams(block);
    computeStatistics(record);
}

std::string formulaListLine(const MathSlot& slot) {
    return "Formula: " + slot.formula + "    Real range:" + slot.realStart + " to " + slot.realEnd +
           " Wave range:" + slot.waveStart + " to " + slot.waveEnd;
}
