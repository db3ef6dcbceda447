// Trigger, run control and digital outputs.
#include "DriverOnBench.h"

using Writes = std::vector<std::pair<int, int>>;

namespace {

class TriggerOutputs : public DriverOnBench {
protected:
    void SetUp() override { initialise(); }
    q745vi::InstrumentState state() { return instrument().state(); }
};

TEST_F(TriggerOutputs, StoppedGeneratorStaysStoppedThroughTriggerChanges) {
    EXPECT_EQ(driver->trigger().setGeneratorOn(0), 1);
    EXPECT_EQ(driver->trigger().setTriggerMode(1), 1);
    EXPECT_EQ(driver->trigger().setTriggerEdge(1), 1);
    EXPECT_FALSE(state().running);
    EXPECT_EQ(driver->trigger().setGeneratorOn(1), 1);
    const Writes expected = {{12, 0x40}, {12, 0x00}, {10, 0x04}, {12, 0x40},
                             {12, 0x00}, {10, 0x06}, {12, 0x40}, {12, 0xC0}};
    EXPECT_EQ(writes(), expected);
    EXPECT_TRUE(state().running);
    EXPECT_TRUE(state().periodic);
    EXPECT_TRUE(state().trailingEdge);
}

TEST_F(TriggerOutputs, OnlyOneMeansOn) {
    driver->trigger().setGeneratorOn(2);
    EXPECT_EQ(driver->state().runBits, 0);
    EXPECT_EQ(writes(), (Writes{{12, 0x40}}));
}

TEST_F(TriggerOutputs, OnlyBitZeroOfModeAndEdgeCounts) {
    driver->trigger().setTriggerMode(3);
    EXPECT_TRUE(state().periodic);
    driver->trigger().setTriggerMode(2);
    EXPECT_FALSE(state().periodic);
    driver->trigger().setTriggerEdge(5);
    EXPECT_TRUE(state().trailingEdge);
    EXPECT_EQ(state().registers[10], 0x02);
}

TEST_F(TriggerOutputs, TriggerSourceBits) {
    driver->trigger().setExternalTriggerUse(0);
    EXPECT_TRUE(state().externalTrigger);
    driver->trigger().setExternalTriggerUse(3);
    EXPECT_FALSE(state().externalTrigger);
    EXPECT_TRUE(state().syncOutput);
    EXPECT_EQ(state().registers[10], 0x08);
    driver->trigger().setTriggerMode(1);
    driver->trigger().setExternalTriggerUse(-1);
    EXPECT_EQ(state().registers[10], 0x04);
    driver->trigger().setExternalTriggerUse(8);
    driver->trigger().setExternalTriggerUse(-7);
    EXPECT_EQ(state().registers[10], 0x04);
    driver->trigger().setExternalTriggerUse(1);  // another bit number is taken as it comes
    EXPECT_EQ(state().registers[10], 0x06);
    EXPECT_TRUE(state().running);
}

TEST_F(TriggerOutputs, DigitalOutputs) {
    driver->trigger().setDigitalOutputOn(1);
    EXPECT_EQ(writes(), (Writes{{8, 0x10}, {1, 0x00}}));
    EXPECT_TRUE(state().digitalOutputsOn);
    EXPECT_TRUE(state().digitalDriversEnabled);

    bench->setRecording(true);
    driver->trigger().setDigitalOutputOn(2);
    EXPECT_EQ(writes(), (Writes{{8, 0x00}, {1, 0x04}}));
    EXPECT_FALSE(state().digitalOutputsOn);
    EXPECT_FALSE(state().digitalDriversEnabled);

    driver->trigger().setDigitalVoltage(1);
    EXPECT_TRUE(state().digitalFiveVolts);
    driver->trigger().setDigitalVoltage(2);
    EXPECT_FALSE(state().digitalFiveVolts);
}

TEST_F(TriggerOutputs, UploadKeepsTheTriggerAndStoppedGenerator) {
    driver->trigger().setExternalTriggerUse(0);
    driver->trigger().setGeneratorOn(0);
    const std::vector<std::uint8_t> raw(100, 1);
    driver->setWaveForm(raw.data(), 0, 100, 0, 1);
    EXPECT_TRUE(state().externalTrigger);
    EXPECT_FALSE(state().running);
    EXPECT_EQ(state().registers[12], 0x40);
}

}  // namespace
