// Level, shift, path, filter, external level and switching of the analog channels, decoded
// from the DAC words and the switch register.
#include <climits>

#include "DriverOnBench.h"

using q745vi::EventKind;

namespace {

class AnalogOutputs : public DriverOnBench {
protected:
    void SetUp() override { initialise(); }

    // (dac, code) of every DAC word since recording started.
    std::vector<std::pair<int, int>> dacWords() {
        std::vector<std::pair<int, int>> words;
        for (const auto& event : eventsOf(events(), EventKind::Dac))
            words.emplace_back(event.address, static_cast<int>(event.value));
        return words;
    }
    q745vi::InstrumentState state() { return instrument().state(); }
};

TEST_F(AnalogOutputs, ShiftCodesOfChannelANormalPath) {
    driver->analog().setShift(0, 2048);
    EXPECT_EQ(state().dacCodes[2], 1973);
    driver->analog().setShift(0, 0);
    EXPECT_EQ(state().dacCodes[2], 206);
    EXPECT_NEAR(state().channels[0].offsetVolts, -4.0, 1e-9);
    driver->analog().setShift(0, 4096);
    EXPECT_EQ(state().dacCodes[2], 3740);
    EXPECT_NEAR(state().channels[0].offsetVolts, 4.0, 1e-9);
    EXPECT_EQ(dacWords(), (std::vector<std::pair<int, int>>{{2, 1973}, {2, 206}, {2, 3740}}));
}

TEST_F(AnalogOutputs, LevelCodesOfChannelBNormalPath) {
    EXPECT_EQ(driver->analog().setLevel(1, 4096), 1);
    EXPECT_EQ(state().dacCodes[1], 2959);
    EXPECT_NEAR(state().channels[1].amplitudeVolts, 16.0, 1e-9);
    driver->analog().setLevel(1, 216);
    EXPECT_EQ(state().dacCodes[1], 120);
    EXPECT_EQ(q745drv::AnalogOutputs::levelDacCode(q745drv::CalibrationTable{}, 3, 4096), 2959);
    EXPECT_EQ(q745drv::AnalogOutputs::levelDacCode(q745drv::CalibrationTable{}, 2, 4096), 2860);
}

TEST_F(AnalogOutputs, CodesOutsideTheDacRangeWrap) {
    driver->analog().setLevel(0, INT_MAX);
    driver->analog().setShift(1, INT_MIN);
    driver->analog().setLevel(1, -1000);
    const auto expected = [](std::int64_t code) { return static_cast<int>(code & 0xFFF); };
    const q745drv::CalibrationTable table;
    EXPECT_EQ(state().dacCodes[0],
              expected(q745drv::AnalogOutputs::levelDacCode(table, 2, INT_MAX)));
    EXPECT_EQ(state().dacCodes[3],
              expected(q745drv::AnalogOutputs::shiftDacCode(table, 3, INT_MIN)));
    EXPECT_EQ(state().dacCodes[1], expected(q745drv::AnalogOutputs::levelDacCode(table, 3, -1000)));
    EXPECT_EQ(instrument().counters().protocolErrors, 0u);
}

TEST_F(AnalogOutputs, PathChangeWhileOffWaitsForSwitchOn) {
    // A distinct -20 dB calibration for channel A, so that its use shows in the DAC codes.
    instrument().calibration().setWord(14, 400);   // shift low, set 0
    instrument().calibration().setWord(13, 3600);  // shift high, set 0
    instrument().calibration().sealChecksum();
    ASSERT_EQ(driver->initHardware(0), 1000);
    driver->analog().setChannelOn(0, 0);
    startRecording();
    EXPECT_EQ(driver->analog().setOutput(0, 0), 1);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(driver->state().outputPath[0], 0);

    driver->analog().setChannelOn(0, 1);
    const q745vi::InstrumentState s = state();
    EXPECT_EQ(s.switchImage & 0x01, 0);
    EXPECT_FALSE(s.channels[0].normalPath);
    EXPECT_EQ(s.dacCodes[2], 400 + 3200 / 2);  // shift 2048 on set 0
    EXPECT_NEAR(s.channels[0].offsetVolts, 0.0, 1e-9);
    EXPECT_TRUE(s.channels[0].enabled);
}

TEST_F(AnalogOutputs, PathChangeOfAChannelThatIsOnRewritesLevelAndShift) {
    driver->analog().setChannelOn(1, 1);
    driver->analog().setLevel(1, 4096);
    driver->analog().setShift(1, 4096);
    startRecording();
    driver->analog().setOutput(1, 2);  // bit 0 of 2 is 0: the -20 dB path
    EXPECT_EQ(dacWords(), (std::vector<std::pair<int, int>>{{3, 3762}, {1, 2959}}));
    const q745vi::InstrumentState s = state();
    EXPECT_EQ(s.switchImage & 0x10, 0);
    EXPECT_NEAR(s.channels[1].amplitudeVolts, 1.6, 1e-9);
    EXPECT_NEAR(s.channels[1].offsetVolts, 0.4, 1e-9);
}

TEST_F(AnalogOutputs, SwitchingOnWritesLevelAndShiftTwiceAroundThePathBit) {
    driver->analog().setChannelOn(0, 0);
    driver->analog().setLevel(0, 1000);
    driver->analog().setShift(0, 3000);
    startRecording();
    EXPECT_TRUE(state().dacCodes[0] == 128);
    driver->analog().setChannelOn(0, 1);
    const q745drv::CalibrationTable table;
    const int shift = static_cast<int>(q745drv::AnalogOutputs::shiftDacCode(table, 2, 3000));
    const int level = static_cast<int>(q745drv::AnalogOutputs::levelDacCode(table, 2, 1000));
    EXPECT_EQ(dacWords(),
              (std::vector<std::pair<int, int>>{{2, shift}, {0, level}, {2, shift}, {0, level}}));
    EXPECT_EQ(eventsOf(events(), EventKind::Switch).size(), 1u);
    EXPECT_EQ(writes().front(), (std::pair<int, int>{8, 0x04}));
}

TEST_F(AnalogOutputs, ParkingAChannel) {
    driver->analog().setChannelOn(0, 1);
    driver->analog().setChannelOn(1, 1);
    driver->analog().setOutput(0, 0);
    startRecording();
    EXPECT_EQ(driver->analog().setChannelOn(0, 0), 1);
    EXPECT_EQ(dacWords(), (std::vector<std::pair<int, int>>{{2, 1972}, {0, 128}}));
    const q745vi::InstrumentState s = state();
    EXPECT_FALSE(s.channels[0].enabled);
    EXPECT_TRUE(s.channels[1].enabled);
    EXPECT_EQ(s.switchImage & 0x01, 0x01);  // the normal path while off
    EXPECT_TRUE(s.running);
    EXPECT_EQ(s.divider, 1);
    // Level and shift are kept for the switch-on.
    EXPECT_EQ(driver->state().levelValue[0], 2048);
    EXPECT_EQ(driver->state().outputPath[0], 0);

    bench->setRecording(true);
    driver->analog().setShift(0, 100);  // stored only
    EXPECT_TRUE(dacWords().empty());
    EXPECT_EQ(driver->state().shiftValue[0], 100);
}

TEST_F(AnalogOutputs, FilterBits) {
    driver->analog().setFilter(1, 0);
    EXPECT_EQ(state().switchImage & 0x60, 0x40);
    EXPECT_EQ(state().channels[1].filter, "Low");
    driver->analog().setFilter(1, 1);
    EXPECT_EQ(state().switchImage & 0x60, 0x20);
    driver->analog().setFilter(1, 2);
    EXPECT_EQ(state().switchImage & 0x60, 0x00);
    EXPECT_EQ(state().channels[1].filter, "Off");
    driver->analog().setFilter(0, 1);
    EXPECT_EQ(state().switchImage, 0x13);
    EXPECT_EQ(state().channels[0].filter, "High");
}

TEST_F(AnalogOutputs, ExternalLevelUsesBitZeroOfTheArgument) {
    driver->analog().setExternalLevel(0, 3);
    EXPECT_EQ(state().switchImage, 0x19);
    driver->analog().setExternalLevel(5, 1);
    EXPECT_EQ(state().switchImage, 0x99);
    EXPECT_TRUE(state().channels[1].externalLevel);
    driver->analog().setExternalLevel(0, 2);
    EXPECT_EQ(state().switchImage, 0x91);
}

TEST_F(AnalogOutputs, AnyChannelOtherThanZeroIsB) {
    driver->analog().setLevel(-4, 4096);
    EXPECT_EQ(state().dacCodes[1], 2959);
    EXPECT_EQ(driver->state().levelValue[1], 4096);
    EXPECT_EQ(driver->state().levelValue[0], 2048);
}

}  // namespace
