#include "device/GeneratorConversions.h"

#include <gtest/gtest.h>

#include <limits>

using generator::OutputPath;

namespace {
constexpr OutputPath openNormal{generator::OpenLoad, generator::OutputNormal};
constexpr OutputPath fiftyNormal{50, generator::OutputNormal};
constexpr OutputPath fiftyAttenuated{50, generator::OutputMinus20dB};
constexpr OutputPath openAttenuated{generator::OpenLoad, generator::OutputMinus20dB};
}  // namespace

TEST(GeneratorConversions, LoadFactorDividesBySourceResistance) {
    EXPECT_DOUBLE_EQ(LoadFactor(50), 0.5);
    EXPECT_DOUBLE_EQ(LoadFactor(150), 0.75);
    EXPECT_DOUBLE_EQ(LoadFactor(-1), 1.0);
    EXPECT_DOUBLE_EQ(LoadFactor(0), 0.0);
    // Not a load: must neither divide by zero (-50) nor flip the sign.
    EXPECT_DOUBLE_EQ(LoadFactor(-50), 1.0);
    EXPECT_DOUBLE_EQ(LoadFactor(-7), 1.0);
}

TEST(GeneratorConversions, OffsetSpansPlusMinusFourVoltsOpen) {
    EXPECT_DOUBLE_EQ(OffsetVolts(openNormal, 0), -4000.0);
    EXPECT_DOUBLE_EQ(OffsetVolts(openNormal, 2048), 0.0);
    EXPECT_DOUBLE_EQ(OffsetVolts(openNormal, 4096), 4000.0);
    EXPECT_DOUBLE_EQ(OffsetVolts(fiftyNormal, 4096), 2000.0);
    EXPECT_DOUBLE_EQ(OffsetVolts(fiftyAttenuated, 0), -200.0);
    // The attenuator only acts on output state 2; "off" keeps the normal scale.
    EXPECT_DOUBLE_EQ(OffsetVolts({-1, generator::OutputOff}, 4096), 4000.0);
}

TEST(GeneratorConversions, LevelVoltsByLoadAndPath) {
    EXPECT_DOUBLE_EQ(LevelVolts(openNormal, 0), 800.0);
    EXPECT_DOUBLE_EQ(LevelVolts(openNormal, 4096), 16000.0);
    EXPECT_DOUBLE_EQ(LevelVolts(fiftyNormal, 4096), 8000.0);
    EXPECT_DOUBLE_EQ(LevelVolts(fiftyAttenuated, 4096), 800.0);
    EXPECT_DOUBLE_EQ(LevelVolts(openAttenuated, 2048), 840.0);
}

TEST(GeneratorConversions, ShiftCodeFromVolts) {
    for (OutputPath path : {openNormal, fiftyNormal, fiftyAttenuated, OutputPath{75, 1}})
        EXPECT_EQ(ShiftCodeFromVolts(path, 0.0), 2048);
    EXPECT_EQ(ShiftCodeFromVolts(openNormal, 4000.0), 4096);
    EXPECT_EQ(ShiftCodeFromVolts(openNormal, -4000.0), 0);
    EXPECT_EQ(ShiftCodeFromVolts(fiftyNormal, 2000.0), 4096);
    EXPECT_EQ(ShiftCodeFromVolts(fiftyAttenuated, -200.0), 0);
    // 1 mV open = 0.512 codes -> 2048.512 -> 2049; 0.9765625 mV = exactly half a code -> even.
    EXPECT_EQ(ShiftCodeFromVolts(openNormal, 1.0), 2049);
    EXPECT_EQ(ShiftCodeFromVolts(openNormal, 0.9765625), 2048);
    EXPECT_EQ(ShiftCodeFromVolts(openNormal, 2.9296875), 2050);
}

TEST(GeneratorConversions, ShiftCodeRoundTripsThroughOffsetVolts) {
    for (OutputPath path : {openNormal, fiftyNormal, fiftyAttenuated, OutputPath{600, 2}})
        for (std::int32_t code = 0; code <= 4096; code += 7)
            EXPECT_EQ(ShiftCodeFromVolts(path, OffsetVolts(path, code)), code);
}

TEST(GeneratorConversions, LevelCodeIgnoresAttenuatorButNotLoad) {
    EXPECT_EQ(LevelCodeFromVolts(-1, 800.0), 0);
    EXPECT_EQ(LevelCodeFromVolts(-1, 16000.0), 4096);
    EXPECT_EQ(LevelCodeFromVolts(50, 8000.0), 4096);
    for (std::int32_t code = 0; code <= 4096; code += 13) {
        EXPECT_EQ(LevelCodeFromVolts(-1, LevelVolts(openNormal, code)), code);
        EXPECT_EQ(LevelCodeFromVolts(50, LevelVolts(fiftyNormal, code)), code);
    }
}

TEST(GeneratorConversions, SampleVoltsAroundTheShift) {
    // Sample 128 is the shift voltage; 1 and 255 are half the amplitude below and above it.
    EXPECT_DOUBLE_EQ(SampleVolts(openNormal, 4096, 2048, 128), 0.0);
    EXPECT_DOUBLE_EQ(SampleVolts(openNormal, 4096, 2048, 255), 8000.0);
    EXPECT_DOUBLE_EQ(SampleVolts(openNormal, 4096, 2048, 1), -8000.0);
    EXPECT_DOUBLE_EQ(SampleVolts(openNormal, 0, 3072, 128), 2000.0);
    EXPECT_DOUBLE_EQ(SampleVolts(fiftyAttenuated, 4096, 4096, 255), (8000.0 + 4000.0) / 20.0);
}

TEST(GeneratorConversions, ZeroLineCrossing) {
    EXPECT_EQ(ZeroLine(0, 2048), 129);
    EXPECT_EQ(ZeroLine(4096, 2048), 129);
    // Shift +2000 mV with 16000 mV p-p: 129 - 254 * 2000 / 16000 = 97.25.
    EXPECT_EQ(ZeroLine(4096, 3072), 97);
    EXPECT_EQ(ZeroLine(4096, 1024), 161);
    // Shift +4000 mV with 800 mV p-p puts the zero line far below the samples.
    EXPECT_EQ(ZeroLine(0, 4096), 129 - 1270);
}

TEST(GeneratorConversions, AbsurdInputsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(ShiftCodeFromVolts({0, 1}, 1.0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ShiftCodeFromVolts({0, 1}, -1.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(LevelCodeFromVolts(-1, 1e300), std::numeric_limits<std::int32_t>::max());
    // A short circuit is 0 V whatever the shift: asking for 0 V gives the middle code.
    EXPECT_EQ(ShiftCodeFromVolts({0, 1}, 0.0), 2048);
    EXPECT_EQ(LevelCodeFromVolts(0, 0.0), -216);
}
