// The device layer on the driver library and the virtual instrument (this process's bench, in
// place of the port driver and USB library the library loads by name).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DeviceRig.h"
#include "StandInsBesideTheLibrary.h"
#include "VirtualBench.h"
#include "device/CommSettings.h"
#include "device/LibraryDriverApi.h"
#include "device/VirtualGenerator.h"
#include "digital/DigitalWave.h"
#include "ui_CommSettings.h"
#include "waves/WaveformRecord.h"

namespace {

using q745vi::VirtualBench;

using InstrumentRig = DeviceRig<LibraryDriverApi>;

void configureBench(const char* text) {
    std::string error;
    auto configuration = q745vi::BenchConfiguration::parse(text, error);
    ASSERT_TRUE(configuration.has_value()) << error;
    VirtualBench::process().reconfigure(*configuration);
    VirtualBench::process().parallelPort().setOpenFails(false);
}

q745vi::InstrumentState parallelState(int index, bool withPoints = false) {
    return VirtualBench::process().parallelInstrument(index)->state(withPoints);
}

// Answers from a script and lets the test change the bench while a question is open.
class ScriptedOperator final : public UserMessages {
public:
    MessageResult messageBox(const std::string& text, MessageKind, MessageButtons) override {
        texts.push_back(text);
        if (onQuestion) onQuestion(texts.size());
        if (answers.empty()) return MessageResult::Ok;
        MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts;
    std::deque<MessageResult> answers;
    std::function<void(std::size_t)> onQuestion;
};

const std::string NothingFound = "Ziadne vhodne pristroje neboli najdene";

// A square wave: the first half at the negative peak, the second at the positive one.
WaveformRecord squareRecord() {
    WaveformRecord record;
    record.points.assign(16384, 1);
    std::fill(record.points.begin() + 8192, record.points.end(), 255);
    return record;
}

int risingEdges(const std::vector<std::uint8_t>& points) {
    int edges = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i - 1] < 128 && points[i] >= 128) ++edges;
    return edges;
}

class OnInstrument : public ::testing::Test {
protected:
    void SetUp() override {
        useStandInsBesideTheLibrary();
        configureBench("parallel:0");
    }
    void TearDown() override {
        VirtualBench::process().usb().setDriverVersion(1, 2);
        VirtualBench::process().parallelPort().setDriverVersion(2, 3);
        configureBench("parallel:0");
        restoreLibraryStartState();
    }
    // The library keeps its channel switches for the whole process; a program run starts
    // with both channels on and on the normal path.
    static void restoreLibraryStartState() {
        LibraryDriverApi api;
        api.SetInterface(0);
        for (int channel = 0; channel < 2; ++channel) {
            api.SetOutput(channel, 1);
            api.SetChannelOn(channel, 1);
        }
    }
};

}  // namespace

TEST_F(OnInstrument, InitialisesTheInstrumentAtTheConfiguredAddress) {
    InstrumentRig rig;
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_FALSE(rig.binding->demoMode());
    EXPECT_TRUE(rig.messages.calls.empty());
    EXPECT_TRUE(parallelState(0).configured);
    EXPECT_EQ(rig.binding->ReadOscillator(), 50000000.0);
}

TEST_F(OnInstrument, RetryFindsTheInstrumentOnceItAnswers) {
    configureBench("none");
    InstrumentRig rig;
    ScriptedOperator script;
    script.answers = {MessageResult::Retry};
    script.onQuestion = [](std::size_t count) {
        if (count == 1) configureBench("parallel:0");  // the operator switches it on
    };
    VirtualDriver binding(rig.driver, rig.state, rig.state.modeSource(), script, rig.printer, true);
    EXPECT_EQ(binding.InitDevice(), 1000);
    EXPECT_EQ(script.texts.size(), 1u);
    EXPECT_FALSE(binding.demoMode());
}

TEST_F(OnInstrument, SearchFindsTheInstrumentAtAnotherBaseAddress) {
    configureBench("parallel:3");
    InstrumentRig rig;
    rig.messages.answers = {MessageResult::Yes, MessageResult::Yes};
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_EQ(rig.messages.texts().at(1),
              "Pristroj najdeny na bazovej adrese 3 (parallel).\r\nChcete nastavit tuto bazovu "
              "adresu ?");
    EXPECT_EQ(rig.state.baseAddressIndex, 3);
    EXPECT_FALSE(rig.state.useUsb);
    EXPECT_FALSE(rig.binding->demoMode());
    EXPECT_TRUE(parallelState(3).configured);
}

TEST_F(OnInstrument, SearchFindsTheInstrumentOnUsb) {
    configureBench("usb");
    InstrumentRig rig;
    rig.messages.answers = {MessageResult::Yes, MessageResult::Yes};
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_EQ(
        rig.messages.texts().at(1),
        "Pristroj najdeny na bazovej adrese 0 (USB).\r\nChcete nastavit tuto bazovu adresu ?");
    EXPECT_TRUE(rig.state.useUsb);
    EXPECT_EQ(rig.binding->interfaceInUse(), 1);
    EXPECT_TRUE(VirtualBench::process().usbInstrument()->configured());
}

TEST_F(OnInstrument, AnotherModelIsNotOffered) {
    configureBench("parallel:2");
    VirtualBench::process().parallelInstrument(2)->faults().modelId = 0x31;
    InstrumentRig rig;
    rig.messages.answers = {MessageResult::Yes};
    EXPECT_EQ(rig.binding->InitDevice(), 1011);
    EXPECT_EQ(rig.messages.texts().size(), 2u);
    EXPECT_EQ(rig.messages.texts().back(), NothingFound);
    EXPECT_TRUE(rig.binding->demoMode());
}

TEST_F(OnInstrument, NothingFoundEndsInDemoMode) {
    configureBench("none");
    InstrumentRig rig;
    rig.messages.answers = {MessageResult::Yes};
    EXPECT_EQ(rig.binding->InitDevice(), 1011);
    EXPECT_EQ(rig.messages.texts().back(), NothingFound);
    EXPECT_TRUE(rig.binding->demoMode());
}

TEST_F(OnInstrument, CorruptCalibrationIsReported) {
    q745vi::CalibrationMemory& calibration =
        VirtualBench::process().parallelInstrument(0)->calibration();
    calibration.setWord(5, static_cast<std::uint16_t>(calibration.word(5) + 1));
    InstrumentRig rig;
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_EQ(rig.messages.texts(),
              std::vector<std::string>{
                  "Kalibracne data v pristroji su poskodene. Kontaktujte firmu Kelvo, prosim."});
    EXPECT_FALSE(rig.binding->demoMode());
}

TEST_F(OnInstrument, OldPortDriverIsReported) {
    VirtualBench::process().parallelPort().setDriverVersion(2, 1);
    InstrumentRig rig;
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_EQ(rig.messages.texts(),
              std::vector<std::string>{
                  "Nainstalujte, prosim, novu verziu ovladacov KelvoEpb z nasej web stranky, "
                  "inak moze dojst k chybam pri cinnosti programu."});
}

TEST_F(OnInstrument, AnalogModeSetsFrequencyLevelsShiftsAndOctaveSets) {
    InstrumentRig rig;
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    WaveformRecord a = squareRecord();
    WaveformRecord b = squareRecord();
    model.ChangeWave(0, a);
    model.ChangeWave(1, b);
    model.ChangeMultiplier(3);
    model.ChangeFrequency(1000);
    model.ChangeLevel(0, 4096);
    model.ChangeShift(0, 3072);
    model.ChangeLevel(1, 2048);
    model.ChangeShift(1, 2048);
    model.ChangeOutputState(0, 1);
    model.ChangeOutputState(1, 2);
    model.ChangeFilter(0, 1);
    model.ChangeFilter(1, 2);
    model.ChangeDigitalOutputs(1);
    model.Activate();
    model.ApplyMode(false);

    const q745vi::InstrumentState state = parallelState(0, true);
    EXPECT_TRUE(state.octaveMode);
    EXPECT_EQ(state.octave, 0);
    EXPECT_NEAR(state.channels[0].signalFrequency, model.frequency(), 1e-6 * model.frequency());
    EXPECT_NEAR(model.frequency(), 1000.0, 0.1);
    for (int channel = 0; channel < 2; ++channel) {
        const q745vi::ChannelState& out = state.channels[static_cast<std::size_t>(channel)];
        EXPECT_TRUE(out.enabled) << channel;
        EXPECT_NEAR(out.amplitudeVolts, model.LevelVolts(channel, model.level(channel)) / 1000.0,
                    0.01)
            << channel;
        EXPECT_NEAR(out.offsetVolts, model.OffsetVolts(channel, model.shift(channel)) / 1000.0,
                    0.01)
            << channel;
    }
    EXPECT_TRUE(state.channels[0].normalPath);
    EXPECT_FALSE(state.channels[1].normalPath);
    EXPECT_EQ(state.channels[0].filter, "High");
    EXPECT_EQ(state.channels[1].filter, "Off");
    EXPECT_EQ(state.channels[0].played, a.points);
    // Channel B holds three periods in the same time: the multiplier reached it.
    EXPECT_EQ(risingEdges(state.channels[0].played), 1);
    EXPECT_EQ(risingEdges(state.channels[1].played), 3);
    EXPECT_TRUE(state.digitalOutputsOn);
}

TEST_F(OnInstrument, HigherFrequencyPlaysAHigherOctave) {
    InstrumentRig rig;
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    WaveformRecord a = squareRecord();
    model.ChangeWave(0, a);
    model.ChangeWave(1, a);
    model.ChangeMultiplier(1);
    model.Activate();
    model.ApplyMode(false);
    model.ChangeFrequency(100000);
    const q745vi::InstrumentState state = parallelState(0);
    EXPECT_EQ(1 << state.octave, model.sampleStep());
    EXPECT_NEAR(state.channels[0].signalFrequency, 100000.0, 10.0);
}

TEST_F(OnInstrument, DigitalModePlaysTheStepWordsOnBothMemories) {
    InstrumentRig rig;
    rig.state.currentMode = ModeDigital;
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    TDigitalWave sequence;
    setWaveLength(sequence, 100);
    for (std::int32_t step = 0; step < 100; ++step)
        sequence.word(step) = static_cast<std::uint16_t>(step * 0x0301);
    model.ChangeDigitalSequence(sequence);
    model.ChangeFrequency(200000);
    model.Activate();
    model.ApplyMode(false);

    const q745vi::InstrumentState state = parallelState(0, true);
    EXPECT_FALSE(state.octaveMode);
    EXPECT_EQ(state.endAddress, 99u);
    std::vector<std::uint8_t> low, high;
    for (std::uint16_t word : sequence.words()) {
        low.push_back(static_cast<std::uint8_t>(word));
        high.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    EXPECT_EQ(state.channels[0].played, low);
    EXPECT_EQ(state.channels[1].played, high);
    // The library reports the frequency as a 32-bit float.
    EXPECT_NEAR(state.sampleClockHz, model.digitalTickFrequency(), 1e-6 * state.sampleClockHz);
    EXPECT_NEAR(model.digitalTickFrequency(), 200000.0, 20.0);
    EXPECT_TRUE(state.digitalOutputsOn);
    EXPECT_TRUE(state.channels[0].enabled);
    EXPECT_TRUE(state.channels[1].normalPath);
}

TEST_F(OnInstrument, FirstSequenceOfADigitalModeEnteredEmptyPlaysAtTheTickFrequency) {
    InstrumentRig rig;
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    WaveformRecord a = squareRecord();
    model.ChangeWave(0, a);
    model.ChangeWave(1, a);
    model.Activate();
    model.ApplyMode(false);
    // Digital mode with nothing to play: the tick frequency meets the analog octave sets.
    TDigitalWave sequence;
    rig.state.currentMode = ModeDigital;
    model.ChangeDigitalSequence(sequence);
    model.ChangeFrequency(200000);
    model.ApplyMode(false);
    setWaveLength(sequence, 16);
    model.ChangeDigitalSequence(sequence);

    const q745vi::InstrumentState state = parallelState(0);
    EXPECT_FALSE(state.octaveMode);
    EXPECT_NEAR(state.sampleClockHz, model.digitalTickFrequency(), 1e-6 * state.sampleClockHz);
    EXPECT_NEAR(model.digitalTickFrequency(), 200000.0, 20.0);
}

TEST_F(OnInstrument, ImportModePlaysTheRecordedPointsAtTheirRate) {
    InstrumentRig rig;
    rig.state.currentMode = ModeImport;
    TVirtualGenerator model(*rig.binding, rig.state.modeSource(), rig.messages);
    WaveformRecord a, b;
    for (int i = 0; i < 5000; ++i) {
        a.points.push_back(static_cast<std::uint8_t>(1 + i % 255));
        b.points.push_back(static_cast<std::uint8_t>(255 - i % 255));
    }
    model.ChangeWave(0, a);
    model.ChangeWave(1, b);
    model.ChangeFrequency(1000000);
    model.ChangeLevel(0, 1000);
    model.ChangeOutputState(0, 1);
    model.ChangeOutputState(1, 0);
    model.Activate();
    model.ApplyMode(false);

    const q745vi::InstrumentState state = parallelState(0, true);
    EXPECT_FALSE(state.octaveMode);
    EXPECT_EQ(state.channels[0].played, a.points);
    EXPECT_EQ(state.channels[1].played, b.points);
    EXPECT_NEAR(state.sampleClockHz, model.importTickFrequency(), 1e-6 * state.sampleClockHz);
    EXPECT_TRUE(state.channels[0].enabled);
    EXPECT_FALSE(state.channels[1].enabled);
    EXPECT_NEAR(state.channels[0].amplitudeVolts, model.LevelVolts(0, 1000) / 1000.0, 0.01);
    EXPECT_FALSE(state.digitalOutputsOn);
}

// The communication dialog probes the interface in use: the instrument at index 3 and another
// model at index 9 show their models; the other interface cannot be probed.
TEST_F(OnInstrument, CommunicationDialogShowsTheDevicesThatAnswer) {
    configureBench("parallel:3,parallel:9");
    VirtualBench::process().parallelInstrument(9)->faults().modelId = 0x17;
    LibraryDriverApi api;
    api.SetInterface(0);
    DeviceSettings configured;
    configured.baseAddressIndex = 3;
    configured.portAddress = 0x278;
    TCommSettingsForm form(api, configured, 0);
    const QComboBox& devices = *form.controls().DeviceBox;
    ASSERT_EQ(devices.count(), 16);
    EXPECT_EQ(devices.itemText(0), "Address 0");
    EXPECT_EQ(devices.itemText(3), "Address 3 (Q731)");
    EXPECT_EQ(devices.itemText(9), "Address 9 (Q718)");
    EXPECT_EQ(devices.currentIndex(), 3);
    EXPECT_EQ(form.controls().PortBox->currentText(), "278h");
    EXPECT_FALSE(form.controls().PortBox->isEnabled()) << "this port driver chooses the port";

    form.controls().InterfaceBox->setCurrentIndex(1);
    EXPECT_EQ(devices.itemText(3), "Address 3 (N/A)");
    EXPECT_EQ(devices.currentIndex(), 3);
    form.controls().DeviceBox->setCurrentIndex(5);
    const DeviceSettings chosen = form.chosen();
    EXPECT_TRUE(chosen.useUsb);
    EXPECT_EQ(chosen.baseAddressIndex, 5);
    EXPECT_EQ(chosen.portAddress, 0x278);
}
