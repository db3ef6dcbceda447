#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "DeviceRig.h"

namespace {

std::vector<std::uint8_t> analogWave(std::uint8_t value) {
    return std::vector<std::uint8_t>(16384, value);
}

// An initialised instrument, the initialisation's calls and log forgotten.
struct Ready : DeviceRig<> {
    Ready() {
        driver.initByIndex[{0, 0}] = 1000;
        binding->InitDevice();
        driver.forget();
        clearLog();
    }
    QTimer* freqTimer() const { return binding->feedbackForm()->FreqTimer(); }
    // Lets FreqTimer expire without waiting the whole second.
    void expireFreqTimer() {
        freqTimer()->setInterval(1);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !freqTimer()->isActive(); }));
    }
};

}  // namespace

TEST(VirtualDriver, SameValueIsSentOncePerOperationAndChannel) {
    Ready rig;
    rig.binding->SendLevel(0, 100);
    rig.binding->SendLevel(0, 100);
    rig.binding->SendLevel(1, 100);
    rig.binding->SendShift(0, 100);
    rig.binding->SendShift(0, 2048);
    rig.binding->SendLevel(0, 101);
    rig.binding->SendTriggerStyle(0);
    rig.binding->SendTriggerStyle(0);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetLevel(0,100)", "SetLevel(1,100)", "SetShift(0,100)",
                                        "SetShift(0,2048)", "SetLevel(0,101)",
                                        "SetExternalTriggerUse(0)"}));
}

TEST(VirtualDriver, InitDeviceForgetsTheValuesSentBefore) {
    Ready rig;
    rig.binding->SendLevel(0, 100);
    rig.driver.initResults = {1000};
    rig.binding->InitDevice();
    rig.driver.forget();
    rig.binding->SendLevel(0, 100);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetLevel(0,100)"});
}

TEST(VirtualDriver, DemoModeReachesNothing) {
    DeviceRig<> rig;
    rig.messages.answers = {MessageResult::No};
    rig.binding->InitDevice();
    ASSERT_TRUE(rig.binding->demoMode());
    rig.driver.forget();

    EXPECT_EQ(rig.binding->SendFrequency(0, 1234.5), 1234.5);
    EXPECT_EQ(rig.binding->ReadOscillator(), 50000000.0);
    EXPECT_EQ(rig.binding->SendMultiplier(3, true), 0);
    EXPECT_EQ(rig.binding->SendPhase(analogWave(128), 100), 100);
    rig.binding->SendWave(0, analogWave(128), 0);
    rig.binding->SendLevel(0, 1);
    rig.binding->SendOutputState(1, 2);
    rig.binding->SendDigitalOutputs(1);
    EXPECT_TRUE(rig.driver.calls.empty());
    EXPECT_FALSE(rig.binding->feedbackForm()->FreqTimer()->isActive());
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{"Device is not present"});
}

TEST(VirtualDriver, SuspendedKeepsTheMultiplierForTheNextUpload) {
    Ready rig;
    rig.binding->setSuspended(true);
    EXPECT_EQ(rig.binding->SendFrequency(1, 4000), 4000);
    EXPECT_EQ(rig.binding->ReadOscillator(), 50000000.0);
    EXPECT_EQ(rig.binding->SendMultiplier(3, false), 0);
    rig.binding->SendShift(1, 7);
    EXPECT_TRUE(rig.driver.calls.empty());

    rig.binding->setSuspended(false);
    EXPECT_EQ(rig.binding->SendMultiplier(3, false), 0);  // already kept: nothing to do
    rig.binding->SendWave(1, analogWave(200), 512);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetWaveForm(1,-1,512,3)"});
}

TEST(VirtualDriver, FrequencyReturnsWhatTheInstrumentProduces) {
    Ready rig;
    EXPECT_EQ(rig.binding->SendFrequency(0, 1000.0), 999.0);
    EXPECT_EQ(rig.binding->SendFrequency(0, 1000.0), 999.0);
    EXPECT_EQ(rig.binding->SendFrequency(1, 1000.0), 999.0);
    EXPECT_EQ(rig.binding->SendFrequency(1, 2000.0), 2001.0);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetFrequency(1000)", "SetFrequency(1000)",
                                        "SetFrequency(2000)"}));
    EXPECT_EQ(rig.binding->ReadOscillator(), 50000000.0);
}

TEST(VirtualDriver, LogLinesOfEveryOperation) {
    Ready rig;
    rig.binding->SendFrequency(0, 1234.5);
    rig.binding->SendFrequency(1, 25000000);
    rig.binding->SendMultiplier(3, false);
    rig.binding->SendWave(0, analogWave(128), 77);
    rig.binding->SendPhase(analogWave(128), 4096);
    rig.binding->SendWave(std::vector<std::uint16_t>{1, 2});
    rig.binding->SendShift(1, 2048);
    rig.binding->SendLevel(0, 4096);
    rig.binding->SendFilter(0, 0);
    rig.binding->SendFilter(1, 1);
    rig.binding->SendFilter(0, 2);
    rig.binding->SendExternalLevel(1, 129);
    rig.binding->SendOutputState(0, 0);
    rig.binding->SendOutputState(0, 1);
    rig.binding->SendOutputState(1, 2);
    rig.binding->SendDigitalOutputs(255);
    rig.binding->SendDigitalVoltage(3);
    rig.binding->SendGeneratorOn(1);
    rig.binding->SendTriggerMode(0);
    rig.binding->SendTriggerEdge(1);
    rig.binding->SendTriggerStyle(2);
    rig.driver.oscillator = 49999876.0f;
    rig.binding->ReadOscillator();

    EXPECT_EQ(rig.logLines(), (std::vector<std::string>{
                                  "Frequency set to:1234.5; Digital:0",
                                  "Frequency set to:25000000; Digital:1",
                                  "Frequency multiplier set to 3",
                                  "Waveform set to channel 0 16-bit:0 Phase:0",
                                  "Waveform set to channel 1 16-bit:0 Phase:4096",
                                  "Waveform set to channel 0 16-bit:1 Phase:0",
                                  "Shift on channel 1 set to 2048",
                                  "Level on channel 0 set to 4096",
                                  "Filter on channel 0 Low",
                                  "Filter on channel 1 High",
                                  "Filter on channel 0 Off",
                                  "External level set:1",
                                  "Output on channel 0 off",
                                  "Output on channel 0 normal",
                                  "Output on channel 1 -20dB",
                                  "Digital outputs on:127",
                                  "Digital voltage set to 3",
                                  "Generator OnOff: 1",
                                  "Trigger mode set to 0",
                                  "Trigger edge set to 1",
                                  "Trigger style set to 2",
                                  "Oscillator frequency get: 49999876",
                              }));
}

TEST(VirtualDriver, OutputStateSwitchesTheChannelOnBeforeLeavingOff) {
    Ready rig;
    rig.binding->SendOutputState(0, 1);
    rig.binding->SendOutputState(0, 0);
    rig.binding->SendOutputState(0, 2);
    rig.binding->SendOutputState(0, 1);
    rig.binding->SendOutputState(0, 1);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetOutput(0,1)", "SetChannelOn(0,0)", "SetChannelOn(0,1)",
                                        "SetOutput(0,0)", "SetOutput(0,1)"}));
}

TEST(VirtualDriver, ExternalLevelAndDigitalOutputsKeepSevenBits) {
    Ready rig;
    rig.binding->SendExternalLevel(0, 128 + 1);
    rig.binding->SendExternalLevel(0, 1);
    rig.binding->SendDigitalOutputs(128);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetExternalLevel(0,1)", "SetDigitalOutputOn(0)"}));
}

TEST(VirtualDriver, AnalogUploadsAreOctaveSetsWithMultiplierAndPhaseOnB) {
    Ready rig;
    rig.binding->SendMultiplier(5, false);
    rig.binding->SendWave(0, analogWave(10), 300);
    rig.binding->SendWave(1, analogWave(20), 300);
    ASSERT_EQ(rig.driver.uploads.size(), 2u);
    EXPECT_EQ(rig.driver.calls[0], "SetWaveForm(0,-1,0,1)");
    EXPECT_EQ(rig.driver.calls[1], "SetWaveForm(1,-1,300,5)");
    EXPECT_EQ(rig.driver.uploads[1].data, analogWave(20));
}

TEST(VirtualDriver, ImportUploadsRawPointsAndDigitalModeSendsNoAnalogWave) {
    Ready rig;
    rig.state.currentMode = ModeImport;
    rig.binding->SendMultiplier(5, false);
    rig.binding->SendWave(1, std::vector<std::uint8_t>{1, 2, 3}, 300);
    rig.state.currentMode = ModeDigital;
    rig.binding->SendWave(0, analogWave(128), 0);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetWaveForm(1,3,0,1)"});
    EXPECT_EQ(rig.driver.uploads[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(VirtualDriver, UploadsThatCannotBeBuiltAreNotSent) {
    Ready rig;
    rig.binding->SendWave(0, std::vector<std::uint8_t>{}, 0);  // an empty slot
    rig.binding->SendWave(1, std::vector<std::uint8_t>(1000, 128), 0);
    rig.state.currentMode = ModeImport;
    rig.binding->SendWave(0, std::vector<std::uint8_t>{}, 0);
    rig.binding->SendWave(std::vector<std::uint16_t>{});
    EXPECT_TRUE(rig.driver.calls.empty());
}

TEST(VirtualDriver, DigitalSequenceGoesOutAsLowAndHighBytes) {
    Ready rig;
    rig.binding->SendWave(std::vector<std::uint16_t>{0x1234, 0xABCD, 0x00FF});
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetWaveForm(0,3,0,1)", "SetWaveForm(1,3,0,1)"}));
    EXPECT_EQ(rig.driver.uploads[0].data, (std::vector<std::uint8_t>{0x34, 0xCD, 0xFF}));
    EXPECT_EQ(rig.driver.uploads[1].data, (std::vector<std::uint8_t>{0x12, 0xAB, 0x00}));
}

TEST(VirtualDriver, PhaseReloadsChannelBOnlyWhenChanged) {
    Ready rig;
    rig.binding->SendMultiplier(2, false);
    EXPECT_EQ(rig.binding->SendPhase(analogWave(9), 100), 100);
    EXPECT_EQ(rig.binding->SendPhase(analogWave(9), 100), 100);
    EXPECT_EQ(rig.binding->SendPhase(analogWave(9), 0), 0);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetWaveForm(1,-1,100,2)", "SetWaveForm(1,-1,0,2)"}));
}

TEST(VirtualDriver, MultiplierChangesWithinTheDeferralGiveOneUpload) {
    Ready rig;
    QSignalSpy flushed(rig.binding->feedbackForm(), &TVirtualDriverFeedbackForm::waveFlushed);

    EXPECT_EQ(rig.binding->SendMultiplier(2, true), 1);
    rig.binding->SendWave(1, analogWave(50), 1000);  // what the model does on a 1
    EXPECT_EQ(rig.binding->waveQueueState(), 2);
    EXPECT_EQ(rig.binding->SendMultiplier(3, true), 0);
    EXPECT_EQ(rig.binding->SendMultiplier(4, true), 0);
    EXPECT_TRUE(rig.freqTimer()->isActive());
    EXPECT_TRUE(rig.driver.uploads.empty());

    rig.expireFreqTimer();

    EXPECT_EQ(rig.driver.callsNamed("SetWaveForm"),
              std::vector<std::string>{"SetWaveForm(1,-1,1000,4)"});
    EXPECT_EQ(rig.driver.uploads[0].data, analogWave(50));
    EXPECT_EQ(rig.binding->waveQueueState(), 0);
    EXPECT_EQ(flushed.count(), 1);
    EXPECT_EQ(rig.logLines(), (std::vector<std::string>{
                                  "Frequency multiplier set to 2", "Frequency multiplier set to 3",
                                  "Frequency multiplier set to 4",
                                  "Waveform set to channel 1 16-bit:0 Phase:1000"}));
}

TEST(VirtualDriver, MultiplierRestartsTheTimer) {
    Ready rig;
    rig.freqTimer()->setInterval(60000);
    rig.binding->SendMultiplier(2, true);
    const int firstRemaining = rig.freqTimer()->remainingTime();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rig.freqTimer()->remainingTime() <= firstRemaining - 50; }));
    rig.binding->SendMultiplier(3, true);
    EXPECT_TRUE(rig.freqTimer()->isActive());
    EXPECT_GT(rig.freqTimer()->remainingTime(), firstRemaining - 25);
    // Not queued: the multiplier alone, no timer.
    Ready other;
    EXPECT_EQ(other.binding->SendMultiplier(2, false), 1);
    EXPECT_FALSE(other.freqTimer()->isActive());
}

TEST(VirtualDriver, DirectChannelBUploadCancelsTheQueue) {
    Ready rig;
    rig.binding->SendMultiplier(2, true);
    rig.binding->SendWave(1, analogWave(50), 0);
    rig.binding->SendWave(1, analogWave(60), 0);  // the operator picked another waveform
    EXPECT_EQ(rig.binding->waveQueueState(), 0);
    ASSERT_EQ(rig.driver.uploads.size(), 1u);
    EXPECT_EQ(rig.driver.uploads[0].data, analogWave(60));

    rig.expireFreqTimer();
    EXPECT_EQ(rig.driver.uploads.size(), 1u);
    EXPECT_EQ(rig.logLines().back(), "ERROR: Wave not queued");
}

TEST(VirtualDriver, DigitalUploadCancelsTheQueue) {
    Ready rig;
    rig.binding->SendMultiplier(2, true);
    rig.binding->SendWave(1, analogWave(50), 0);
    rig.binding->SendWave(std::vector<std::uint16_t>{1});
    EXPECT_EQ(rig.binding->waveQueueState(), 0);
    rig.expireFreqTimer();
    EXPECT_EQ(rig.driver.callsNamed("SetWaveForm").size(), 2u);
}

TEST(VirtualDriver, ChannelAIsNotDeferredWithB) {
    Ready rig;
    rig.binding->SendMultiplier(2, true);
    rig.binding->SendWave(0, analogWave(70), 0);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetWaveForm(0,-1,0,1)"});
    EXPECT_EQ(rig.binding->waveQueueState(), 1);
    rig.binding->SendWave(1, analogWave(80), 0);
    EXPECT_EQ(rig.binding->waveQueueState(), 2);
    rig.expireFreqTimer();
    ASSERT_EQ(rig.driver.uploads.size(), 2u);
    EXPECT_EQ(rig.driver.uploads[1].channel, 1);
    EXPECT_EQ(rig.driver.uploads[1].data, analogWave(80));
}
