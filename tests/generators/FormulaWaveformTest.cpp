#include "generators/FormulaWaveform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RecordingMessages.h"
#include "waves/PredefinedWaveforms.h"

namespace {

class FormulaWaveform : public ::testing::Test {
protected:
    std::string addFailure(const MathSlot& slot, int replaceIndex = -1) {
        try {
            addFormulaSlot(block, replaceIndex, slot, constants, expression);
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "";
    }
    std::string computeFailure(int k = 0) {
        try {
            computeFormulaSlot(block, k, expression, work);
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "";
    }
    static MathSlot slotOf(const std::string& formula, const std::string& waveStart = "0",
                           const std::string& waveEnd = "16383") {
        MathSlot slot;
        slot.formula = formula;
        slot.waveStart = waveStart;
        slot.waveEnd = waveEnd;
        return slot;
    }

    FormulaContext context;
    TComplexMath expression{context};
    MathParameterBlock block;
    MathConstants constants;
    WaveformRecord work = untitledWaveform();
};

}  // namespace

TEST_F(FormulaWaveform, DefaultsGiveAFullSinePeriod) {
    setSimpleFormula(block, MathSlot{}, constants);
    EXPECT_EQ(computeFailure(), "");
    EXPECT_EQ(*std::min_element(work.points.begin(), work.points.end()), 1);
    EXPECT_EQ(*std::max_element(work.points.begin(), work.points.end()), 255);
    EXPECT_EQ(work.points[0], 128);
    EXPECT_EQ(work.points[4096], 255);
    EXPECT_EQ(work.points[12288], 1);
    EXPECT_EQ(work.points[16383], 128);
}

TEST_F(FormulaWaveform, ConstantFormulaIsOnlyLimited) {
    setSimpleFormula(block, slotOf("5"), constants);
    EXPECT_EQ(computeFailure(), "");
    EXPECT_EQ(work.points, std::vector<std::uint8_t>(kWavePointCount, 5));
    setSimpleFormula(block, slotOf("300"), constants);
    computeFailure();
    EXPECT_EQ(work.points[100], 255);
    setSimpleFormula(block, slotOf("-3"), constants);
    computeFailure();
    EXPECT_EQ(work.points[100], 1);
    setSimpleFormula(block, slotOf("100.5"), constants);
    computeFailure();
    EXPECT_EQ(work.points[100], 100) << "ties to even";
}

TEST_F(FormulaWaveform, PercentWaveRangeCoversHalfTheAxis) {
    block.normalize = false;
    ASSERT_EQ(addFailure(slotOf("200", "0", "50%")), "");
    ASSERT_EQ(block.count, 1);
    EXPECT_EQ(block.slots[0].waveEnd, "50%") << "the texts are stored as typed";
    EXPECT_EQ(computeFailure(), "");
    EXPECT_EQ(work.points[8192], 200);
    EXPECT_EQ(work.points[8193], 128) << "points behind the range are left alone";
}

TEST_F(FormulaWaveform, AddChecksRangesInOrder) {
    EXPECT_EQ(addFailure(slotOf("x", "0.5")), "Range conversion: Wave range must be integer value");
    EXPECT_EQ(addFailure(slotOf("x", "0", "100.25")),
              "Range conversion: Wave range must be integer value");
    MathSlot reversed = slotOf("x");
    reversed.realEnd = "-1";
    EXPECT_EQ(addFailure(reversed), "Range conversion: Invalid real range");
    EXPECT_EQ(addFailure(slotOf("x", "100", "100")), "Range conversion: Invalid wave range");
    EXPECT_EQ(addFailure(slotOf("x", "0", "16384")), "Range conversion: Invalid wave range");
    EXPECT_EQ(addFailure(slotOf("x", "-1", "10")), "Range conversion: Invalid wave range");
    EXPECT_EQ(addFailure(slotOf("x", "0", "x")),
              "Range conversion: Invalid formula: invalid syntax: x");
    MathSlot undefined = slotOf("x^0.5");
    undefined.realStart = "-1";
    undefined.realEnd = "1";
    EXPECT_EQ(addFailure(undefined), "Formula checking: Formula not defined for whole range");
    EXPECT_EQ(addFailure(slotOf("y")), "Formula checking: Invalid formula: invalid syntax: y");
    constants.allowY = true;
    constants.yValue = "x";
    EXPECT_EQ(addFailure(slotOf("y")), "Variables conversion: Invalid formula: invalid syntax: x");
    EXPECT_EQ(block.count, 0) << "nothing stored after a failure";
}

TEST_F(FormulaWaveform, SixteenSlotsAtMostButReplaceStillWorks) {
    for (int k = 0; k < kMaxFormulaSlots; ++k)
        ASSERT_EQ(addFailure(slotOf(std::to_string(k), std::to_string(k * 1000),
                                    std::to_string(k * 1000 + 999))),
                  "");
    EXPECT_EQ(block.count, 16);
    EXPECT_EQ(addFailure(slotOf("1")), "Maximalny pocet priebehov bol prekroceny");
    EXPECT_EQ(addFailure(slotOf("77"), 3), "");
    EXPECT_EQ(block.count, 16);
    EXPECT_EQ(block.slots[3].formula, "77");

    deleteFormulaSlot(block, 0);
    EXPECT_EQ(block.count, 15);
    EXPECT_EQ(block.slots[0].formula, "1");
    EXPECT_EQ(block.slots[2].formula, "77");
    EXPECT_EQ(block.slots[14].formula, "15");
}

TEST_F(FormulaWaveform, ConstantsAreConvertedForEveryComputation) {
    constants.allowY = true;
    constants.yValue = "2*10";
    constants.allowZ = true;
    constants.zValue = "y+1";
    constants.yDescription = "Height";
    block.normalize = false;
    ASSERT_EQ(addFailure(slotOf("y+z")), "");
    EXPECT_EQ(block.constants, constants);
    EXPECT_EQ(computeFailure(), "");
    EXPECT_EQ(work.points[0], 41);

    block.constants.yValue = "50";  // what the options dialog changes
    EXPECT_EQ(computeFailure(), "");
    EXPECT_EQ(work.points[0], 101);
}

TEST_F(FormulaWaveform, ComputeRefusesRangesOutsideThePoints) {
    block.count = 1;
    block.slots[0] = slotOf("200", "16000", "16500");
    EXPECT_EQ(computeFailure(), "Range conversion: Invalid wave range");
    block.slots[0] = slotOf("200", "10", "5");
    EXPECT_EQ(computeFailure(), "Range conversion: Invalid wave range");
    EXPECT_EQ(work, untitledWaveform()) << "nothing written";
    block.slots[0] = slotOf("200", "1.5", "16383.4");
    EXPECT_EQ(computeFailure(), "Range conversion: Invalid wave range")
        << "2 + round(16381.9) is past the last point";
}

TEST_F(FormulaWaveform, EveryFailingSlotIsReportedAndTheOthersComputed) {
    block.normalize = false;
    block.count = 3;
    block.slots[0] = slotOf("1/0", "0", "99");
    block.slots[1] = slotOf("50", "100", "199");
    block.slots[2] = slotOf("q", "200", "299");
    RecordingMessages messages;
    EXPECT_FALSE(computeFormulaWaveform(block, expression, work, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Formula: Formula not defined for whole range",
                                        "Formula: Invalid formula: invalid syntax: q"}));
    EXPECT_EQ(work.points[150], 50);
    EXPECT_EQ(work.points[50], 128);
}

TEST_F(FormulaWaveform, FinishStoresTheBlock) {
    setSimpleFormula(block, MathSlot{}, constants);
    RecordingMessages messages;
    ASSERT_TRUE(computeFormulaWaveform(block, expression, work, messages));
    finishFormulaWaveform(block, work);
    EXPECT_EQ(work.generatorKind, kGeneratorFormula);
    EXPECT_EQ(work.optionsKind, kOptionsNone);
    EXPECT_EQ(work.paramCount(), 21512);
    EXPECT_EQ(decodeMathParams(work.params), block);
    EXPECT_EQ(work.peakToPeak, 254) << "statistics computed";

    block.constants.allowZ = true;
    finishFormulaWaveform(block, work);
    EXPECT_EQ(work.optionsKind, kOptionsFormula);
}

// The slot computed as defined, one evaluation per point and pass: the reference for the
// faster computation, which must write the same points and stop at the same failing point.
void computeDirectly(const MathSlot& slot, bool normalize, FormulaContext& context,
                     WaveformRecord& record) {
    TComplexMath expression(context);
    context.AllowPercent = true;
    const double rs = expression.evaluateText(slot.realStart);
    const double re = expression.evaluateText(slot.realEnd);
    const double ws = expression.evaluateText(slot.waveStart);
    const double we = expression.evaluateText(slot.waveEnd);
    context.AllowPercent = false;
    context.AllowX = true;
    expression.setFormula(slot.formula);
    expression.parse();
    auto at = [&](int i) {
        context.X = rs + i * (re - rs) / (we - ws);
        return expression.evaluate();
    };
    const int steps = static_cast<int>(std::lround(we - ws));
    double scale = 1;
    double offset = 0;
    if (normalize) {
        double maximum = at(0);
        double minimum = maximum;
        for (int i = 1; i <= steps; ++i) {
            maximum = std::max(maximum, at(i));
            minimum = std::min(minimum, at(i));
        }
        if (maximum - minimum != 0) {
            scale = 254 / (maximum - minimum);
            offset = 1 - minimum * scale;
        }
    }
    for (int i = 0; i <= steps; ++i) {
        const double value = std::clamp(at(i) * scale + offset, 1.0, 255.0);
        record.points[static_cast<std::size_t>(std::lround(ws)) + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::nearbyint(value));
    }
}

TEST_F(FormulaWaveform, SlotEqualsTheDirectComputation) {
    MathSlot slot = slotOf("sin(x)*abs(cos(3*x))^2+x/10", "100", "16000");
    slot.realStart = "-7";
    slot.realEnd = "7.5";
    const MathSlot failing = slotOf("(3-x)^0.5");  // from x = 3 on
    for (const MathSlot& tried : {slot, failing, slotOf("2*x^3-x"), slotOf("x*0.0000001")}) {
        for (bool normalize : {true, false}) {
            SCOPED_TRACE(tried.formula + (normalize ? " normalized" : ""));
            block.normalize = normalize;
            setSimpleFormula(block, tried, constants);
            work = untitledWaveform();
            const std::string failure = computeFailure();
            WaveformRecord expected = untitledWaveform();
            FormulaContext direct;
            try {
                computeDirectly(tried, normalize, direct, expected);
                EXPECT_EQ(failure, "");
            } catch (const FormulaError& error) {
                EXPECT_EQ(failure, std::string("Formula: ") + error.what());
            }
            EXPECT_EQ(work.points, expected.points);
            if (tried.formula == failing.formula && !normalize) {
                EXPECT_EQ(work.points[7000], 1) << "written before the failure";
                EXPECT_EQ(work.points[16000], 128) << "not written after it";
            }
        }
    }
}

TEST_F(FormulaWaveform, ListLine) {
    EXPECT_EQ(formulaListLine(MathSlot{}),
              "Formula: sin(x)    Real range:0 to 2*pi Wave range:0 to 16383");
}
