#include "device/VirtualGenerator.h"

#include <gtest/gtest.h>

#include <QTest>

#include "DeviceRig.h"
#include "device/FilterChoice.h"
#include "digital/DigitalWave.h"
#include "waves/WaveformRecord.h"

namespace {

WaveformRecord analogRecord(std::uint8_t value, std::int32_t harmonics = 1) {
    WaveformRecord record;
    record.points.assign(16384, value);
    record.harmonicCount = harmonics;
    return record;
}

class RecordingFilterBoxes final : public FilterChoice {
public:
    int shownFilter(int channel) const override { return shown[channel]; }
    void chooseFilter(int channel, int filter) override {
        shown[channel] = filter;
        chosen.push_back({channel, filter});
    }
    int shown[2] = {0, 0};
    std::vector<std::pair<int, int>> chosen;
};

// The model on the recording driver, as start-up leaves it: built (suspended), then active.
struct ModelRig : DeviceRig<> {
    explicit ModelRig(bool instrumentPresent = true, bool activate = true) {
        if (instrumentPresent) driver.initByIndex[{0, 0}] = 1000;
        model = std::make_unique<TVirtualGenerator>(*binding, state.modeSource(), messages);
        model->OnChange = [this](TVirtualGenerator&) { events.push_back("Change"); };
        model->OnFrequency = [this](TVirtualGenerator&) { events.push_back("Frequency"); };
        model->OnTickFrequency = [this](TVirtualGenerator&) { events.push_back("Tick"); };
        model->OnImportTickFrequency = [this](TVirtualGenerator&) {
            events.push_back("ImportTick");
        };
        model->OnChannel = [this](TVirtualGenerator&, int channel) {
            events.push_back("Channel" + std::to_string(channel));
        };
        model->OnWave = [this](TVirtualGenerator&, int channel) {
            events.push_back("Wave" + std::to_string(channel));
        };
        model->OnZeroLine = [this](TVirtualGenerator&, int channel, int value) {
            events.push_back("ZeroLine" + std::to_string(channel) + "=" + std::to_string(value));
        };
        if (activate) model->Activate();
        driver.forget();
        events.clear();
    }
    std::unique_ptr<TVirtualGenerator> model;
    std::vector<std::string> events;
};

}  // namespace

TEST(VirtualGenerator, ConstructionOpensTheInstrumentAndReadsTheOscillator) {
    ModelRig rig(true, false);
    EXPECT_TRUE(rig.messages.calls.empty());
    EXPECT_DOUBLE_EQ(rig.model->oscillatorPer16384(), 3051.7578125);
    EXPECT_TRUE(rig.binding->suspended());
    EXPECT_FALSE(rig.model->active());
    EXPECT_EQ(rig.model->load(0), -1);
    EXPECT_EQ(rig.model->digitalTickFrequency(), 4000);
    EXPECT_EQ(rig.model->triggerStyle(), -100);
}

TEST(VirtualGenerator, WithoutInstrumentTheDemoMessageIsShown) {
    DeviceRig<> rig;
    rig.driver.oscillator = 40000000.0f;  // never read in demo operation
    rig.messages.answers = {MessageResult::No};
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    ASSERT_EQ(rig.messages.calls.size(), 2u);
    EXPECT_EQ(rig.messages.calls[1].text,
              "Nie je mozne inicializovat generator.\r\nProgram pobezi v rezime demo.");
    EXPECT_EQ(rig.messages.calls[1].kind, MessageKind::Error);
    EXPECT_DOUBLE_EQ(model.oscillatorPer16384(), 50000000.0 / 16384);
}

TEST(VirtualGenerator, SuspendedUntilActivateButValuesAreKept) {
    ModelRig rig(true, false);
    rig.model->ChangeLevel(0, 3000);
    rig.model->ChangeShift(1, 1000);
    rig.model->ChangeMultiplier(7);
    EXPECT_TRUE(rig.driver.calls.empty());
    EXPECT_EQ(rig.model->level(0), 3000);
    EXPECT_EQ(rig.model->shift(1), 1000);

    rig.model->Activate();
    EXPECT_FALSE(rig.binding->suspended());
    EXPECT_EQ(rig.events.back(), "Change");
    rig.model->ApplyMode(true);
    EXPECT_EQ(rig.driver.callsNamed("SetLevel"),
              (std::vector<std::string>{"SetLevel(0,3000)", "SetLevel(1,0)"}));
}

TEST(VirtualGenerator, UnchangedValueIsForwardedOnlyBeforeActivate) {
    ModelRig inactive(true, false);
    inactive.model->ChangeMultiplier(3);
    inactive.model->ChangeMultiplier(3);
    EXPECT_EQ(inactive.events,
              (std::vector<std::string>{"Change", "Frequency", "Change", "Frequency"}));

    ModelRig active;
    active.model->ChangeMultiplier(3);
    active.model->ChangeMultiplier(3);
    EXPECT_EQ(active.events, (std::vector<std::string>{"Change", "Frequency"}));
}

TEST(VirtualGenerator, AnalogFrequencyChoosesTheOctaveFactor) {
    ModelRig rig;
    rig.model->ChangeFrequency(10000);
    EXPECT_EQ(rig.model->frequency(), 9999.0);  // what the instrument produces
    EXPECT_EQ(rig.model->sampleStep(), 4);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"Change", "Frequency"}));
    rig.model->ChangeFrequency(3000);
    EXPECT_EQ(rig.model->sampleStep(), 1);
    rig.model->ChangeFrequency(24000000);
    EXPECT_EQ(rig.model->sampleStep(), 8192);
    EXPECT_EQ(rig.driver.callsNamed("SetFrequency"),
              (std::vector<std::string>{"SetFrequency(10000)", "SetFrequency(3000)",
                                        "SetFrequency(24000000)"}));
}

TEST(VirtualGenerator, FrequencyGoesToTheCurrentMode) {
    ModelRig rig;
    rig.model->ChangeFrequency(1000);
    rig.state.currentMode = ModeDigital;
    rig.model->ChangeFrequency(50000);
    EXPECT_EQ(rig.model->ModeFrequency(), 50001.0);
    rig.state.currentMode = ModeImport;
    rig.model->ChangeFrequency(60000);
    EXPECT_EQ(rig.model->ModeFrequency(), 60000.0);
    rig.state.currentMode = ModeAnalog;
    EXPECT_EQ(rig.model->ModeFrequency(), 999.0);
    rig.state.currentMode = 0;
    EXPECT_EQ(rig.model->ModeFrequency(), -1);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"Change", "Frequency", "Tick", "ImportTick"}));
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetFrequency(1000)", "SetFrequency(50000)",
                                        "SetFrequency(60000)"}));
}

TEST(VirtualGenerator, LevelAndShiftMoveTheZeroLine) {
    ModelRig rig;
    rig.model->ChangeLevel(0, 4096);
    rig.model->ChangeShift(0, 3072);
    rig.model->noZeroLineEvent = true;
    rig.model->ChangeShift(1, 2048);
    rig.model->ChangeShift(1, 2048);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"ZeroLine0=192", "Channel0", "ZeroLine0=97",
                                                    "Channel0", "Channel1"}));
    EXPECT_EQ(rig.driver.calls, (std::vector<std::string>{"SetLevel(0,4096)", "SetShift(0,3072)",
                                                          "SetShift(1,2048)"}));
}

TEST(VirtualGenerator, ConversionsFollowTheChannelsLoadAndPath) {
    ModelRig rig;
    rig.model->ChangeLoad(1, 50);
    rig.model->ChangeOutputState(1, 2);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"Channel1", "Change", "Channel1"}));
    EXPECT_DOUBLE_EQ(rig.model->LoadFactor(1), 0.5);
    EXPECT_DOUBLE_EQ(rig.model->LevelVolts(1, 4096), 800.0);
    EXPECT_DOUBLE_EQ(rig.model->LevelVolts(0, 4096), 16000.0);
    EXPECT_EQ(rig.model->ShiftCodeFromVolts(1, 0.0), 2048);
    EXPECT_EQ(rig.model->ShiftCodeFromVolts(1, 200.0), 4096);
    EXPECT_EQ(rig.model->LevelCodeFromVolts(1, 8000.0), 4096);
    rig.model->ChangeLevel(1, 4096);
    rig.model->ChangeShift(1, 2048);
    EXPECT_EQ(rig.model->ZeroLine(1), 129);
    EXPECT_DOUBLE_EQ(rig.model->SampleVolts(1, 255), 400.0);
    EXPECT_DOUBLE_EQ(rig.model->OffsetVolts(0, 4096), 4000.0);
    // Loads are not the instrument's business.
    EXPECT_EQ(rig.driver.callsNamed("SetLoad").size(), 0u);
}

TEST(VirtualGenerator, AutoFilterChoosesFromHarmonicsAndFrequency) {
    ModelRig rig;
    RecordingFilterBoxes boxes;
    rig.model->setFilterChoice(&boxes);
    WaveformRecord a = analogRecord(128, 10);
    WaveformRecord b = analogRecord(128, 10);
    rig.model->ChangeWave(0, a);
    rig.model->ChangeWave(1, b);
    rig.model->ChangeMultiplier(6);
    rig.model->ChangeFrequency(300000);
    EXPECT_TRUE(boxes.chosen.empty());  // the automatic choice is off

    rig.model->ChangeAutoFilter(true);
    // A: 10 x 300 kHz = 3 MHz: "High"; B: x 6 = 18 MHz: "Off".
    EXPECT_EQ(boxes.chosen, (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}}));

    rig.model->ChangeFrequency(200000);  // A 2.00001 MHz: "Low"; B 12 MHz: "High"
    EXPECT_EQ(boxes.chosen.size(), 4u);
    EXPECT_EQ(boxes.chosen[2], std::make_pair(0, 0));
    EXPECT_EQ(boxes.chosen[3], std::make_pair(1, 1));

    WaveformRecord richer = analogRecord(128, 100);  // A 20 MHz: "Off"
    rig.model->ChangeWave(0, richer);
    EXPECT_EQ(boxes.chosen.back(), std::make_pair(0, 2));

    rig.state.currentMode = ModeImport;
    rig.model->ChangeFrequency(1);
    rig.model->AutoFilter();
    EXPECT_EQ(boxes.chosen.size(), 5u);
}

TEST(VirtualGenerator, AutoFilterWithoutBoxesSetsTheFilterItself) {
    ModelRig rig;
    WaveformRecord a = analogRecord(128, 10);
    rig.model->ChangeWave(0, a);
    rig.model->ChangeFrequency(300000);
    rig.driver.forget();
    rig.model->ChangeAutoFilter(true);
    EXPECT_EQ(rig.model->filter(0), 1);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetFilter(0,1)"});
}

TEST(VirtualGenerator, TriggerAndRunSettings) {
    ModelRig rig;
    rig.model->ChangeTriggerEdge(1);
    rig.model->ChangeTriggerEdge(1);
    rig.model->ChangeTriggerEdge(0);
    rig.model->ChangeTriggerMode(2);
    rig.model->ChangeTriggerStyle(0);
    rig.model->ChangeRun(false);
    rig.model->Restart();
    rig.model->ChangeDigitalVoltage(2);
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetTriggerEdge(0)", "SetTriggerEdge(1)",
                                        "SetTriggerMode(1)", "SetGeneratorOn(1)",
                                        "SetExternalTriggerUse(0)", "SetGeneratorOn(0)",
                                        "SetGeneratorOn(1)", "SetDigitalVoltage(2)"}));
    EXPECT_EQ(rig.model->triggerEdge(), 0);
    EXPECT_EQ(rig.model->triggerStyle(), 0);
}

TEST(VirtualGenerator, DigitalOutputsAreKeptButNotSentInDigitalMode) {
    ModelRig rig;
    rig.state.currentMode = ModeDigital;
    rig.model->ChangeDigitalOutputs(1);
    EXPECT_TRUE(rig.driver.calls.empty());
    rig.state.currentMode = ModeAnalog;
    rig.model->ChangeDigitalOutputs(0);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetDigitalOutputOn(0)"});
    EXPECT_EQ(rig.model->digitalOutputs(), 0);
}

TEST(VirtualGenerator, WavesAreFiledByMode) {
    ModelRig rig;
    WaveformRecord analog = analogRecord(200);
    WaveformRecord imported;
    imported.points = {1, 2, 3, 4};
    rig.model->ChangeWave(1, analog);
    rig.state.currentMode = ModeImport;
    rig.model->ChangeWave(1, imported);
    EXPECT_EQ(rig.model->Wave(1), &imported);
    rig.state.currentMode = ModeAnalog;
    EXPECT_EQ(rig.model->Wave(1), &analog);
    EXPECT_EQ(rig.model->Wave(0), nullptr);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"Wave1", "Wave1"}));
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetWaveForm(1,-1,0,1)", "SetWaveForm(1,4,0,1)"}));
}

TEST(VirtualGenerator, MultiplierChangesReloadChannelBOnceTheyStop) {
    ModelRig rig;
    WaveformRecord b = analogRecord(99);
    rig.model->ChangeWave(1, b);
    rig.model->ChangePhase(4096);
    rig.driver.forget();
    rig.model->ChangeMultiplier(2);
    rig.model->ChangeMultiplier(3);
    rig.model->ChangeMultiplier(4);
    EXPECT_TRUE(rig.driver.uploads.empty());
    QTimer* timer = rig.binding->feedbackForm()->FreqTimer();
    timer->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.driver.uploads.size() == 1; }));
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetWaveForm(1,-1,4096,4)"});
    EXPECT_EQ(rig.model->multiplier(), 4);
}

TEST(VirtualGenerator, ApplyModeAnalogSendsTheWholeSetting) {
    ModelRig rig(true, false);
    WaveformRecord a = analogRecord(10);
    WaveformRecord b = analogRecord(20);
    rig.model->ChangeWave(0, a);
    rig.model->ChangeWave(1, b);
    rig.model->ChangeMultiplier(3);
    rig.model->ChangePhase(100);
    rig.model->ChangeFrequency(1000);
    for (int channel = 0; channel < 2; ++channel) {
        rig.model->ChangeShift(channel, 2000 + channel);
        rig.model->ChangeLevel(channel, 3000 + channel);
        rig.model->ChangeExternalLevel(channel, channel);
        rig.model->ChangeOutputState(channel, 1 + channel);
        rig.model->ChangeFilter(channel, 2 - channel);
    }
    rig.model->ChangeDigitalOutputs(1);
    rig.model->Activate();
    rig.model->ApplyMode(false);

    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{
                  "SetWaveForm(0,-1,0,1)", "SetWaveForm(1,-1,100,3)", "SetFrequency(1000)",
                  "SetShift(0,2000)", "SetShift(1,2001)", "SetLevel(0,3000)", "SetLevel(1,3001)",
                  "SetExternalLevel(0,0)", "SetExternalLevel(1,1)", "SetOutput(0,1)",
                  "SetOutput(1,0)", "SetDigitalOutputOn(1)", "SetFilter(0,2)", "SetFilter(1,1)"}));
    EXPECT_EQ(rig.model->frequency(), 999.0);
}

TEST(VirtualGenerator, ApplyModeDigitalPlaysTheSequenceOnTheOutputs) {
    ModelRig rig(true, false);
    TDigitalWave sequence;
    setWaveLength(sequence, 3);
    sequence.word(0) = 0x0102;
    sequence.word(1) = 0x0304;
    sequence.word(2) = 0xFFFF;
    rig.state.currentMode = ModeDigital;
    rig.model->ChangeDigitalSequence(sequence);
    rig.model->ChangeFrequency(8000);
    rig.model->Activate();
    rig.model->ApplyMode(false);

    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetWaveForm(0,3,0,1)", "SetWaveForm(1,3,0,1)",
                                        "SetFrequency(8000)", "SetDigitalOutputOn(1)",
                                        "SetOutput(0,1)", "SetOutput(1,1)"}));
    EXPECT_EQ(rig.driver.uploads[0].data, (std::vector<std::uint8_t>{0x02, 0x04, 0xFF}));
    EXPECT_EQ(rig.driver.uploads[1].data, (std::vector<std::uint8_t>{0x01, 0x03, 0xFF}));
    EXPECT_EQ(rig.model->digitalSequence(), &sequence);

    rig.driver.forget();
    // Applied again: only the frequency is asked for once more, as the one the instrument
    // produces, which it keeps; the rest is left out by the skip rule.
    rig.model->ApplyMode(true);
    EXPECT_EQ(rig.driver.calls, std::vector<std::string>{"SetFrequency(8001)"});
    EXPECT_EQ(rig.model->digitalTickFrequency(), 8001.0);
}

TEST(VirtualGenerator, ApplyModeImportUploadsRawPointsAtTheTickFrequency) {
    ModelRig rig(true, false);
    WaveformRecord a, b;
    a.points = {10, 20, 30};
    b.points = {40, 50, 60};
    rig.state.currentMode = ModeImport;
    rig.model->ChangeWave(0, a);
    rig.model->ChangeWave(1, b);
    rig.model->ChangeFrequency(100000);
    rig.model->ChangeLevel(0, 1000);
    rig.model->Activate();
    rig.model->ApplyMode(false);

    EXPECT_EQ(
        rig.driver.calls,
        (std::vector<std::string>{"SetWaveForm(0,3,0,1)", "SetWaveForm(1,3,0,1)",
                                  "SetFrequency(100000)", "SetShift(0,0)", "SetShift(1,0)",
                                  "SetLevel(0,1000)", "SetLevel(1,0)", "SetExternalLevel(0,0)",
                                  "SetExternalLevel(1,0)", "SetChannelOn(0,0)", "SetChannelOn(1,0)",
                                  "SetDigitalOutputOn(0)", "SetFilter(0,0)", "SetFilter(1,0)"}));
    EXPECT_EQ(rig.model->importTickFrequency(), 99999.0);
}
