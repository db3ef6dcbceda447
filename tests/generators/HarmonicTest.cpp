#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "RecordingMessages.h"
#include "core/UserError.h"
#include "generators/ComplexMath.h"
#include "generators/HarmonicParameterBlock.h"
#include "waves/PredefinedWaveforms.h"

namespace {

HarmonicRecord harmonic(std::int32_t number, double level, bool percent, std::int32_t degrees = 0) {
    HarmonicRecord h;
    h.number = number;
    setHarmonicLevel(h, level, percent, degrees);
    return h;
}

double doubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    double value;
    std::memcpy(&value, bytes.data() + offset, 8);
    return value;
}

std::int32_t int32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

}  // namespace

TEST(Harmonics, EmptyListIsAPureSine) {
    HarmonicParameterBlock block;
    WaveformRecord work = untitledWaveform();
    recomputeHarmonics(block, work);
    EXPECT_EQ(*std::min_element(work.points.begin(), work.points.end()), 1);
    EXPECT_EQ(*std::max_element(work.points.begin(), work.points.end()), 255);
    EXPECT_EQ(work.points[0], 128);
    EXPECT_EQ(work.points[4096], 255);
    EXPECT_DOUBLE_EQ(block.halfScale, 0.5);
}

TEST(Harmonics, LevelsInPercentAndDecibels) {
    EXPECT_DOUBLE_EQ(harmonicAmplitude(100, true), 127);
    EXPECT_DOUBLE_EQ(harmonicAmplitude(0, false), 127);
    EXPECT_DOUBLE_EQ(harmonicAmplitude(50, true), 63.5);
    EXPECT_NEAR(harmonicAmplitude(-6, false), 63.65, 0.01);

    const HarmonicRecord h = harmonic(3, 50, true, 90);
    EXPECT_DOUBLE_EQ(h.amplitude, 63.5);
    EXPECT_DOUBLE_EQ(h.complement, 64.5);
    EXPECT_DOUBLE_EQ(h.phase, std::numbers::pi / 2);
    EXPECT_EQ(h.phaseDegrees, 90);

    HarmonicRecord loud;
    EXPECT_NO_THROW(setHarmonicLevel(loud, 40, false, 0));
    EXPECT_DOUBLE_EQ(loud.amplitude, 12700);
    try {
        setHarmonicLevel(loud, 40.5, false, 10);
        FAIL();
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "40.5dB nie je platna hodnota (prilis vysoka)");
    }
    EXPECT_EQ(loud.level, 40) << "unchanged after a refusal";
    EXPECT_NO_THROW(setHarmonicLevel(loud, 400, true, 0)) << "no limit in percent";
}

TEST(Harmonics, SamplesStayInRangeWhateverTheLevels) {
    HarmonicParameterBlock block;
    for (int n = 2; n < 40; ++n)
        block.harmonics[static_cast<std::size_t>(block.count++)] = harmonic(n, 40, false, n * 7);
    WaveformRecord work = untitledWaveform();
    recomputeHarmonics(block, work);
    EXPECT_EQ(*std::min_element(work.points.begin(), work.points.end()), 1);
    EXPECT_EQ(*std::max_element(work.points.begin(), work.points.end()), 255);

    finishHarmonicWaveform(block, work);
    EXPECT_EQ(work.generatorKind, kGeneratorHarmonic);
    EXPECT_EQ(work.optionsKind, kOptionsNone);
    EXPECT_EQ(work.paramCount(), 16400);
    EXPECT_EQ(decodeHarmonicParams(work.params), block);
    EXPECT_EQ(work.harmonicCount, 39) << "the strong 39th harmonic is the highest";
}

TEST(Harmonics, AddingChecks) {
    HarmonicParameterBlock block;
    block.harmonics[0] = harmonic(3, 50, true);
    block.count = 1;
    EXPECT_EQ(checkHarmonicToAdd(block, 5), HarmonicRefusal::None);
    EXPECT_EQ(checkHarmonicToAdd(block, 3), HarmonicRefusal::AlreadyListed);
    EXPECT_EQ(checkHarmonicToAdd(block, 1), HarmonicRefusal::AlreadyListed);
    EXPECT_EQ(harmonicRefusalText(HarmonicRefusal::AlreadyListed, 3),
              "Zoznam uz obsahuje 3. harmonicku");
    block.count = kMaxHarmonics;
    EXPECT_EQ(checkHarmonicToAdd(block, 1000), HarmonicRefusal::ListFull);
    EXPECT_EQ(harmonicRefusalText(HarmonicRefusal::ListFull, 1000),
              "Maximalny pocet harmonickych bol prekroceny");
}

TEST(Harmonics, LevelFormulaOfTheHarmonicNumber) {
    FormulaContext context;
    context.AllowX = true;
    context.AllowN = true;
    TComplexMath expression(context);
    expression.setFormula("-6*n");
    expression.parse();
    context.X = 2;
    EXPECT_EQ(roundedHarmonicLevel(expression.evaluate()), -12);
    context.X = 3;
    EXPECT_EQ(roundedHarmonicLevel(expression.evaluate()), -18);
    EXPECT_DOUBLE_EQ(roundedHarmonicLevel(1.0 / 3), 0.3333);
    EXPECT_DOUBLE_EQ(roundedHarmonicLevel(-12.34567), -12.3457);
}

TEST(Harmonics, MarkRemoveAndListLines) {
    HarmonicParameterBlock block;
    for (int n = 2; n < 10; ++n)
        block.harmonics[static_cast<std::size_t>(block.count++)] = harmonic(n, -6, false);
    RecordingMessages messages;
    const int firstSix[] = {0, 1, 2, 3, 4, 5};
    markHarmonics(block, firstSix, messages);
    EXPECT_TRUE(messages.calls.empty());
    const int seventh[] = {6, 7};
    markHarmonics(block, seventh, messages);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Mozete oznacit len 6 harmonickych"});
    EXPECT_FALSE(block.harmonics[6].marked);

    EXPECT_EQ(harmonicListLine(block.harmonics[0]), "*Freq:2x Level:-6dB Phase:0");
    EXPECT_EQ(harmonicListLine(harmonic(3, 12.5, true, 45)), "Freq:3x Level:12.5% Phase:45");

    const int some[] = {5, 0, 7};
    removeHarmonics(block, some);
    EXPECT_EQ(block.count, 5);
    EXPECT_EQ(block.harmonics[0].number, 3);
    EXPECT_EQ(block.harmonics[4].number, 8);
    EXPECT_EQ(block.harmonics[5], HarmonicRecord{});

    const int all[] = {0, 1, 2, 3, 4};
    unmarkHarmonics(block, all);
    EXPECT_TRUE(std::none_of(block.harmonics.begin(), block.harmonics.end(),
                             [](const HarmonicRecord& h) { return h.marked; }));
}

TEST(Harmonics, ByteLayout) {
    HarmonicParameterBlock block;
    block.count = 2;
    block.halfScale = 0.25;
    block.harmonics[1] = harmonic(7, 50, true, 180);
    block.harmonics[1].marked = true;
    const std::vector<std::uint8_t> bytes = encodeHarmonicParams(block);
    ASSERT_EQ(bytes.size(), 16400u);
    EXPECT_EQ(int32At(bytes, 0), 2);
    EXPECT_EQ(doubleAt(bytes, 8), 0.25);
    const std::size_t record = 16 + 64;
    EXPECT_EQ(int32At(bytes, record), 7);
    EXPECT_EQ(doubleAt(bytes, record + 8), 63.5);
    EXPECT_EQ(bytes[record + 16], 1) << "percent";
    EXPECT_EQ(doubleAt(bytes, record + 24), 50);
    EXPECT_DOUBLE_EQ(doubleAt(bytes, record + 32), std::numbers::pi);
    EXPECT_EQ(int32At(bytes, record + 40), 180);
    EXPECT_EQ(doubleAt(bytes, record + 48), 64.5);
    EXPECT_EQ(bytes[record + 56], 1) << "marked";
    EXPECT_EQ(decodeHarmonicParams(bytes), block);

    std::vector<std::uint8_t> damaged(bytes.begin(), bytes.begin() + 100);
    damaged[0] = 0xFF;  // count 255 plus garbage in the high bytes
    damaged[1] = 0xFF;
    EXPECT_EQ(decodeHarmonicParams(damaged).count, kMaxHarmonics);
    EXPECT_EQ(decodeHarmonicParams(damaged).harmonics[1].number, 7);
}
