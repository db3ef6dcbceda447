#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <csignal>
#include <fstream>
#include <sstream>

#include "../settings/ChangedSettings.h"
#include "platform/ActivationChannel.h"
#include "core/FileStore.h"
#include "platform/InstanceMarkers.h"
#include "ProgramRig.h"
#include "ui_Main.h"

namespace {

long countOf(const std::vector<std::string>& texts, const std::string& text) {
    return std::count(texts.begin(), texts.end(), text);
}

const std::string ExitQuestion = "Naozaj chcete opustit program ?";

// Every value of the golden file away from its default, as far as the live objects hold it
// without panels of their own: the start-up in analog mode (import mode would restore the
// import levels) and without the automatic filter (which chooses the filters itself), on
// filled waveform slots; the sync output excludes the external trigger, and a frequency panel
// holds the device's frequency within its range.
SettingsValues changedValues() {
    SettingsValues v = changedSettingsValues();
    v.channels[0].wave = 3;
    v.channels[1].wave = 4;
    v.autoFilter = false;
    v.interfaceMode = ModeAnalog;
    v.trigger = false;
    v.importFrequency.realFrequency = 24000000;
    return v;
}

}  // namespace

TEST(ProgramTest, NewInstallationStartsSilentlyAndWritesItsFilesAtExit) {
    ProgramRig rig;
    rig.shipFiles();
    const std::string shipped = fileText(rig.start / "Settings.dat");
    EXPECT_EQ(rig.run([](Program& program) {
        EXPECT_TRUE(program.state().appReady);
        EXPECT_TRUE(program.state().settingsLoaded);
        EXPECT_EQ(program.state().currentMode, ModeAnalog);
        EXPECT_TRUE(ProgramRig::mainForm()->isVisible());
        // The panels show the shipped settings, not the form's own defaults.
        const Ui::TMainForm& ui = ProgramRig::mainForm()->controls();
        EXPECT_TRUE(ui.SyncOffBtn->isChecked());
        EXPECT_TRUE(ui.TriggerGoBtn->isChecked());
        EXPECT_EQ(ui.FreqEdit->text(), "589.824k");
        EXPECT_EQ(ProgramRig::mainForm()->windowTitle(), "Q745");
    }),
              0);
    EXPECT_EQ(rig.messages.texts(), std::vector<std::string>{ExitQuestion});
    EXPECT_EQ(fileText(rig.start / "Settings.dat"), shipped) << "nothing lost on the way";
    const auto content = readWholeFile(rig.start / "Waves.dat");
    ASSERT_TRUE(content);
    const DecodedStore decoded = decodeStore(*content);
    EXPECT_EQ(decoded.store.slots[0].name(), "Sine");
    EXPECT_EQ(decoded.store.importedA.points, decoded.store.slots[0].points)
        << "import mode starts with a copy of Sine";
    EXPECT_EQ(decoded.store.importedB.points, decoded.store.slots[1].points);
    // No other program holds a slot: the port leaves the instrument's bus mode last.
    ASSERT_FALSE(rig.callsNamed("SetEPBOn").empty());
    EXPECT_EQ(rig.callsNamed("SetEPBOn").back(), "SetEPBOn(0)");
    EXPECT_FALSE(std::filesystem::exists(rig.start / "Settings.dat.tmp"));
}

TEST(ProgramTest, DemoModeStaysInTheTitleForTheWholeRun) {
    ProgramRig rig;
    rig.driver.initByIndex.clear();
    rig.shipFiles();
    rig.run([](Program&) {
        TMainForm& form = *ProgramRig::mainForm();
        EXPECT_EQ(form.windowTitle(), "Q745 - demo");
        form.controls().Digitalmode1->trigger();
        form.controls().Analogmode1->trigger();
        EXPECT_EQ(form.windowTitle(), "Q745 - demo");
    });
    EXPECT_EQ(countOf(rig.messages.texts(),
                      "Nie je mozne inicializovat generator.\r\nProgram pobezi v rezime demo."),
              1);
}

TEST(ProgramTest, MissingSettingsFileIsReportedInBothPasses) {
    ProgramRig rig;
    rig.shipFiles();
    std::filesystem::remove(rig.start / "Settings.dat");
    rig.run([](Program& program) { EXPECT_EQ(program.state().currentMode, ModeAnalog); });
    EXPECT_EQ(countOf(rig.messages.texts(), "Nie je mozne otvorit subor: Settings.dat"), 2);
    EXPECT_EQ(rig.messages.calls.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(rig.start / "Settings.dat")) << "written at exit";
}

TEST(ProgramTest, CommunicationKeysReachTheDeviceAndTheModeIsEnteredAtStart) {
    ProgramRig rig;
    rig.shipFiles();
    SettingsValues values;
    values.baseAddress = 5;
    values.portAddress = 0x278;
    values.interfaceMode = ModeDigital;
    RecordingMessages quiet;
    writeSettings(rig.start / "Settings.dat", values, quiet);
    rig.driver.initByIndex[{0, 5}] = 1000;
    rig.run([](Program& program) {
        EXPECT_EQ(program.state().currentMode, ModeDigital);
        EXPECT_EQ(program.state().startMode, ModeDigital);
        EXPECT_EQ(program.state().portName, "LPT2:");
    });
    ASSERT_FALSE(rig.callsNamed("InitHardware").empty());
    EXPECT_EQ(rig.callsNamed("InitHardware").front(), "InitHardware(5)");
    EXPECT_EQ(rig.callsNamed("SetPrinterBase").front(), "SetPrinterBase(632)");
    EXPECT_EQ(rig.messages.texts(), std::vector<std::string>{ExitQuestion});
}

TEST(ProgramTest, EverySettingSurvivesARunThroughTheLiveObjects) {
    ProgramRig rig;
    rig.shipFiles();
    rig.driver.initByIndex[{1, 3}] = 1000;
    RecordingMessages quiet;
    writeSettings(rig.start / "Settings.dat", changedValues(), quiet);
    const std::string written = fileText(rig.start / "Settings.dat");
    rig.run([](Program& program) {
        Ui::TMainForm& ui = ProgramRig::mainForm()->controls();
        EXPECT_EQ(ui.ShiftBarA->value(), ui.ShiftBarA->maximum() - 1100);
        EXPECT_TRUE(ui.StepShiftBtnA->isChecked());
        EXPECT_TRUE(ui.ExtLevelOnBtnA->isChecked());
        EXPECT_TRUE(ui.Output20BtnA->isChecked());
        EXPECT_TRUE(ui.ManualDBBtnA->isChecked());
        EXPECT_EQ(ui.LevelUnitsBoxA->currentIndex(), 3);
        EXPECT_TRUE(ui.VpMinusBtnA->isChecked());
        EXPECT_EQ(ui.FilterBoxA->currentIndex(), 0);
        EXPECT_EQ(ui.FilterBoxB->currentIndex(), 1);
        EXPECT_TRUE(ui.StepFreqBtn->isChecked());
        EXPECT_EQ(ui.FreqBEdit->text(), "99");
        EXPECT_EQ(ui.ITickRealFreqEdit->text(), "24.0000M");
        EXPECT_TRUE(ui.SyncOnBtn->isChecked());
        EXPECT_TRUE(ui.TriggerOffBtn->isChecked());
        EXPECT_TRUE(ui.SyncModeSingleBtn->isChecked());
        EXPECT_EQ(ui.DigitalVoltageBox->currentIndex(), 1);
        EXPECT_TRUE(ui.ILockLevelBtn->isChecked());
        EXPECT_TRUE(ui.Forcedigitaloutputs1->isChecked());
        EXPECT_TRUE(ui.VRmsfromAC1->isChecked());
        EXPECT_FALSE(ui.Autofilter1->isChecked());
        EXPECT_EQ(program.state().waveIndexA, 3);
        EXPECT_EQ(program.state().proxyAddress, "proxy.example.net");
    });
    EXPECT_EQ(fileText(rig.start / "Settings.dat"), written);
}

TEST(ProgramTest, ExitQuestionAnsweredNoKeepsTheProgramRunning) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([&rig](Program& program) {
        rig.messages.answers.push_back(MessageResult::No);
        ProgramRig::mainForm()->close();
        QTest::qWait(20);
        EXPECT_TRUE(ProgramRig::mainForm()->isVisible());
        EXPECT_TRUE(program.state().appReady);
    });
    EXPECT_EQ(countOf(rig.messages.texts(), ExitQuestion), 2);
}

TEST(ProgramTest, AnotherInstrumentProgramKeepsThePortInBusMode) {
    ProgramRig rig;
    rig.shipFiles();
    InstanceMarkers other(rig.markers.path());
    ASSERT_EQ(other.takeSlotMarker(), 0);
    rig.run([&other](Program&) {
        EXPECT_TRUE(other.markerHeld("KELVO_SW_1")) << "this copy took the next slot";
        EXPECT_TRUE(other.markerHeld("KELVO_Q745_SW"));
    });
    EXPECT_EQ(countOf(rig.callsNamed("SetEPBOn"), "SetEPBOn(0)"), 0);
    EXPECT_FALSE(other.markerHeld("KELVO_SW_1")) << "released at exit";
    EXPECT_FALSE(other.markerHeld("KELVO_Q745_SW"));
}

TEST(ProgramTest, PrintJobOnTheInstrumentsPortTakesThePortAndGivesItBack) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([&rig](Program& program) {
        rig.driver.forget();
        rig.spooler.queues = {{"LPT2:", 3}, {"FILE:,LPT1:", 2}};
        EXPECT_TRUE(QTest::qWaitFor([&] { return program.state().printerJobs == 2; }));
        QTest::qWait(50);  // several polls: the port is handed over once
        rig.spooler.queues = {{"LPT2:", 3}, {"FILE:,LPT1:", 0}};
        EXPECT_TRUE(QTest::qWaitFor([&] { return program.state().printerJobs == 0; }));
        QTest::qWait(50);
        EXPECT_EQ(rig.callsNamed("SetEPBOn"),
                  (std::vector<std::string>{"SetEPBOn(0)", "SetEPBOn(1)"}));
    });
}

TEST(ProgramTest, SmallScreenGivesTheWarningAndAResizableWindow) {
    ProgramRig rig;
    rig.shipFiles();
    rig.screenSize = QSize(640, 480);
    rig.run([](Program& program) {
        EXPECT_TRUE(program.state().smallScreenMode);
        TMainForm* form = ProgramRig::mainForm();
        EXPECT_EQ(form->size(), QSize(640, 480));
        EXPECT_NE(form->minimumSize(), form->maximumSize());
    });
    ASSERT_FALSE(rig.messages.calls.empty());
    EXPECT_EQ(rig.messages.calls[0].kind, MessageKind::Warning);
    EXPECT_EQ(rig.messages.calls[0].text,
              "Vase rozlisenie je prilis male.\r\nDoporucujeme Vam, aby ste zmenili rozlisenie "
              "na 800x600.\r\nProgram sa spusti v specialnom rezime podporujucom 640x480.");
}

TEST(ProgramTest, ScreenOf800By600IsLargeEnough) {
    ProgramRig rig;
    rig.shipFiles();
    rig.screenSize = QSize(800, 600);
    rig.run([](Program& program) { EXPECT_FALSE(program.state().smallScreenMode); });
    EXPECT_EQ(rig.messages.texts(), std::vector<std::string>{ExitQuestion});
}

TEST(ProgramTest, DebugArgumentInAnyLetterCase) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([](Program& program) { EXPECT_TRUE(program.state().debugMode); }, {"DeBuG"});
    rig.run([](Program& program) { EXPECT_FALSE(program.state().debugMode); }, {"verbose"});
}

// The imported waveforms that import mode starts with, when "Waves.dat" holds imported
// waveforms of these lengths.
std::pair<std::string, std::string> importedAfterStart(std::size_t lengthA, std::size_t lengthB) {
    ProgramRig rig;
    rig.shipFiles();
    RecordingMessages quiet;
    WaveformStore store;
    resetPredefined(store, 1);
    store.importedA.setName("first");
    store.importedA.points.assign(lengthA, 10);
    store.importedB.setName("second");
    store.importedB.points.assign(lengthB, 20);
    saveStore(store, rig.start.path(), quiet);
    rig.run([](Program&) {});
    const DecodedStore decoded = decodeStore(*readWholeFile(rig.start / "Waves.dat"));
    return {decoded.store.importedA.name(), decoded.store.importedB.name()};
}

TEST(ProgramTest, ImportedWavesOfDifferentLengthsAreReplacedBySineAndSaw) {
    EXPECT_EQ(importedAfterStart(100, 200),
              std::make_pair(std::string("Sine"), std::string("Saw")));
    EXPECT_EQ(importedAfterStart(0, 0), std::make_pair(std::string("Sine"), std::string("Saw")));
}

TEST(ProgramTest, ImportedWavesOfOneLengthAreKept) {
    EXPECT_EQ(importedAfterStart(300, 300),
              std::make_pair(std::string("first"), std::string("second")));
}

TEST(ProgramTest, TerminationSignalEndsAsANormalExitWithoutAsking) {
    ProgramRig rig;
    rig.shipFiles();
    std::filesystem::remove(rig.start / "Settings.dat");
    rig.run([](Program&) {
        std::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([] { return !ProgramRig::mainForm()->isVisible(); }));
    });
    EXPECT_EQ(countOf(rig.messages.texts(), ExitQuestion), 0);
    EXPECT_TRUE(std::filesystem::exists(rig.start / "Settings.dat"));
    EXPECT_EQ(rig.callsNamed("SetEPBOn").back(), "SetEPBOn(0)");
}

TEST(ProgramTest, ActivationRequestRestoresTheMainWindow) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([&rig](Program&) {
        TMainForm* form = ProgramRig::mainForm();
        form->showMinimized();
        ASSERT_TRUE(form->isMinimized());
        ActivationChannel later(
            QString::fromStdString((rig.markers / ActivationChannel::ServerName).string()));
        EXPECT_TRUE(later.runningCopyListens());
        EXPECT_TRUE(later.requestActivation());
        EXPECT_TRUE(QTest::qWaitFor([form] { return !form->isMinimized(); }));
    });
}

TEST(ProgramTest, SecondCopyFindingBothSignsEndsAtOnce) {
    ProgramRig first;
    first.shipFiles();
    first.run([&first](Program&) {
        ProgramRig second;
        second.shipFiles();
        Program::Platform platform(second.driver, second.spooler);
        platform.markersFolder = first.markers.path();
        int exitCode = -1;
        {
            Program copy(platform);
            exitCode = copy.run({});
        }
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(second.driver.calls.empty() || second.callsNamed("InitHardware").empty())
            << "the second copy never opens the device";
        EXPECT_TRUE(second.messages.calls.empty());
        // Back in the first copy's start directory for its exit.
        QDir::setCurrent(QString::fromStdString(first.start.path().string()));
    });
}

TEST(ProfilesTest, SaveProfileWritesTheSettingsWithTheExtensionAdded) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([&rig](Program&) {
        Ui::TMainForm& ui = ProgramRig::mainForm()->controls();
        ui.VRmsBtnA->setChecked(true);
        rig.profileAnswer = (rig.start / "Profiles" / "bench").string();
        ui.Saveprofile1->trigger();
        EXPECT_EQ(QDir::currentPath().toStdString(), rig.start.path().string());
    });
    ASSERT_EQ(rig.profileRequests.size(), 1u);
    EXPECT_EQ(rig.profileRequests[0].first, (rig.start / "Profiles").string());
    EXPECT_TRUE(rig.profileRequests[0].second);
    const std::string profile = fileText(rig.start / "Profiles" / "bench.ini");
    EXPECT_NE(profile.find("VRms on channel A = On\r\n"), std::string::npos);
    EXPECT_EQ(profile, fileText(rig.start / "Settings.dat")) << "the same settings at exit";
}

TEST(ProfilesTest, OpenProfileAppliesAllButCommunicationAndMode) {
    ProgramRig rig;
    rig.shipFiles();
    SettingsValues values;
    values.baseAddress = 7;
    values.channels[0].level = 1000;
    values.channels[1].wave = 2;
    values.digitalVoltage = 1;
    values.synchroPulsesOut = true;
    values.interfaceMode = ModeImport;
    RecordingMessages quiet;
    writeSettings(rig.start / "lab.ini", values, quiet);
    rig.run([&rig](Program& program) {
        rig.driver.forget();
        rig.profileAnswer = (rig.start / "lab.ini").string();
        ProgramRig::mainForm()->controls().Openprofile1->trigger();
        EXPECT_EQ(program.state().currentMode, ModeAnalog) << "the mode is not switched";
        EXPECT_EQ(program.state().startMode, ModeImport) << "but taken at the next start";
        EXPECT_EQ(program.state().baseAddressIndex, 0);
        EXPECT_EQ(program.state().waveIndexB, 2);
        EXPECT_EQ(ProgramRig::mainForm()->controls().DigitalVoltageBox->currentIndex(), 1);
        // Sent in one go once the profile is in.
        EXPECT_EQ(countOf(rig.callsNamed("SetLevel"), "SetLevel(0,1000)"), 1);
        EXPECT_FALSE(rig.driver.uploads.empty()) << "the waveforms went to the instrument";
        EXPECT_EQ(rig.callsNamed("SetExternalTriggerUse"),
                  std::vector<std::string>{"SetExternalTriggerUse(3)"})
            << "and the trigger panel's switches";
    });
    ASSERT_EQ(rig.profileRequests.size(), 1u);
    EXPECT_FALSE(rig.profileRequests[0].second);
    EXPECT_NE(fileText(rig.start / "Settings.dat").find("Channel A level = 1000\r\n"),
              std::string::npos);
}

TEST(ProfilesTest, CancelledDialogsChangeNothing) {
    ProgramRig rig;
    rig.shipFiles();
    rig.run([&rig](Program&) {
        rig.driver.forget();
        ProgramRig::mainForm()->controls().Openprofile1->trigger();
        ProgramRig::mainForm()->controls().Saveprofile1->trigger();
        EXPECT_TRUE(rig.driver.calls.empty());
        EXPECT_EQ(QDir::currentPath().toStdString(), rig.start.path().string());
    });
    EXPECT_EQ(rig.profileRequests.size(), 2u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rig.start / "Profiles"),
                            std::filesystem::directory_iterator()),
              0);
}
