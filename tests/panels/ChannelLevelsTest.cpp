#include "panels/ChannelLevels.h"

#include <gtest/gtest.h>

#include "device/GeneratorConversions.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"

namespace {

// The read-out input of a record at level and shift codes on a path.
ChannelReadoutInput inputFor(const WaveformRecord& record, std::int32_t levelCode,
                             std::int32_t shiftCode, generator::OutputPath path = {}) {
    ChannelReadoutInput in;
    in.points = record.points;
    in.maxSample = record.maxSample;
    in.minSample = record.minSample;
    in.meanSample = record.meanSample;
    in.fullScaleMillivolts = LevelVolts(path, levelCode);
    in.millivoltsPerStep = LevelVolts(path, levelCode) / 254.0;
    in.shiftMillivolts = OffsetVolts(path, shiftCode);
    in.attenuated = path.outputState == generator::OutputMinus20dB;
    in.load = path.load;
    return in;
}

WaveformRecord predefined(int slot) {
    WaveformStore store;
    resetPredefined(store, 1);
    return store.slots[static_cast<std::size_t>(slot)];
}

WaveformRecord flat() {
    WaveformRecord record;
    record.points.assign(16384, 128);
    computeStatistics(record);
    return record;
}

TEST(ChannelReadouts, AbsoluteLevelOfASineInEachUnit) {
    const WaveformRecord sine = predefined(0);
    ChannelReadoutInput in = inputFor(sine, 2048, 2048);
    const ChannelReadouts out = channelReadouts(in);
    EXPECT_NEAR(out.vrms, 4.2 / std::sqrt(2.0), 0.001);
    EXPECT_NEAR(out.vavg, 4.2 * 2 / M_PI, 0.001);
    EXPECT_EQ(out.absoluteLevel, "N/A");                                // dBW of an open output
    EXPECT_EQ(absoluteLevelText(out.vrms, LevelUnit::dBmV, -1), "69");  // 2970 mV
    EXPECT_EQ(absoluteLevelText(out.vrms, LevelUnit::dBuV, -1), "129");
    EXPECT_EQ(absoluteLevelText(out.vrms, LevelUnit::dBmW, 50), "22");  // 176 mW
    EXPECT_EQ(absoluteLevelText(out.vrms, LevelUnit::dBW, 50), "-8");
}

TEST(ChannelReadouts, FlatWaveformHasNoLevelToShow) {
    const WaveformRecord record = flat();
    ChannelReadoutInput in = inputFor(record, 2048, 2048);
    in.unit = LevelUnit::dBuV;
    const ChannelReadouts out = channelReadouts(in);
    EXPECT_EQ(out.vpp, 0);
    EXPECT_EQ(out.absoluteLevel, "N/A");
    EXPECT_FALSE(out.levelWarning);
    EXPECT_EQ(relativeDbText(in.fullScaleMillivolts, record.peakToPeak, 8400), "N/A");
}

TEST(ChannelReadouts, AcRmsLeavesOutTheShift) {
    const WaveformRecord square = predefined(3);
    ChannelReadoutInput in = inputFor(square, 2048, 3072);  // +2 V shift
    EXPECT_NEAR(channelReadouts(in).vrms, std::sqrt((2.2 * 2.2 + 6.2 * 6.2) / 2), 0.001);
    in.acRms = true;
    const ChannelReadouts ac = channelReadouts(in);
    EXPECT_NEAR(ac.vrms, 4.2, 0.001);
    EXPECT_NEAR(ac.vavg, 4.2, 0.001);
    // +6.2 V stays inside 8 V.
    EXPECT_FALSE(ac.shiftWarning);
}

TEST(ChannelReadouts, WarningsJudgeTheNormalPath) {
    const WaveformRecord sine = predefined(0);
    // A peak at 4.2 V + 4 V.
    EXPECT_TRUE(channelReadouts(inputFor(sine, 2048, 4096)).shiftWarning);
    // Behind the attenuator the same codes give a tenth, and still warn.
    EXPECT_TRUE(channelReadouts(inputFor(sine, 2048, 4096, {-1, 2})).shiftWarning);
    EXPECT_FALSE(channelReadouts(inputFor(sine, 2048, 2048)).levelWarning);
    EXPECT_TRUE(channelReadouts(inputFor(sine, 0, 2048)).levelWarning);  // 800 mV full scale
    // 840 mV behind the attenuator is 8.4 V on the normal path.
    EXPECT_FALSE(channelReadouts(inputFor(sine, 2048, 2048, {-1, 2})).levelWarning);
}

TEST(AttenuatorChoice, BelowOnePointSixVoltsAtTheTerminals) {
    const AttenuatorChoice oneVolt = chooseAttenuator(1000, 1.0);
    EXPECT_EQ(oneVolt.outputState, 2);
    EXPECT_EQ(oneVolt.pathMillivolts, 10000);
    EXPECT_EQ(LevelCodeFromVolts(-1, oneVolt.pathMillivolts), 2479);
    EXPECT_EQ(chooseAttenuator(1600, 1.0).outputState, 1);
    // Into 50 ohms the normal path reaches down to 800 mV.
    EXPECT_EQ(chooseAttenuator(1000, 0.5).outputState, 1);
}

TEST(CodesForVoltages, LoadChangeKeepsTheLevelAndShift) {
    const double level = LevelVolts({-1, 1}, LevelCodeFromVolts(-1, 2000));
    const ChannelCodes open = codesForVoltages(level, 0, -1);
    EXPECT_EQ(open.levelCode, 323);
    const ChannelCodes loaded = codesForVoltages(level, 1000, 50);
    EXPECT_EQ(loaded.outputState, 1);
    EXPECT_EQ(loaded.levelCode, 862);
    EXPECT_EQ(loaded.shiftCode, 3072);
    // 10 V into 50 ohms needs more than the highest code.
    EXPECT_EQ(codesForVoltages(10000, 0, 50).levelCode, 4096);
    EXPECT_EQ(codesForVoltages(10000, -5000, 50).shiftCode, 0);
}

TEST(LevelEntry, VppAndDbGiveTheFullScaleLevel) {
    EXPECT_EQ(fullScaleForVpp(1.0, 254), 1000);
    EXPECT_EQ(fullScaleForVpp(1.0, 127), 2000);
    // A waveform of half the steps: -6 dB typed reads back as -6 dB.
    const double reference = waveformMillivolts(8400, 127);
    const double wanted = fullScaleForDb(-6, reference, 127);
    EXPECT_EQ(relativeDbText(wanted, 127, reference), "-6");
    EXPECT_EQ(relativeDbText(8400, 254, 8400), "0");
    EXPECT_EQ(relativeDbText(8400, 254, 840), "20");
}

}  // namespace
