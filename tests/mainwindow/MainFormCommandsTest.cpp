// The main window's own commands: channel-B phase, waveform selection, the import-mode file
// buttons, the menu entries and the About window.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "shell/AboutScreen.h"
#include "MainWindowRig.h"
#include "ModalDriver.h"
#include "waves/GawFile.h"

namespace {

class MainFormCommands : public ::testing::Test {
protected:
    MainFormCommands() { form.setMode(ModeAnalog); }

    // The file dialog answers with the given name (relative names lie in the test folder).
    void answerFileDialog(const QString& name) {
        form.setFileNameAsker(
            [this, name](QWidget*, const QString& title, const QString& filter, bool save) {
                dialogs.push_back({title, filter, save});
                return name.isEmpty() ? QString() : folder.filePath(name);
            });
    }
    bool baseIsRed() const { return ui.PhaseEdit->palette().color(QPalette::Base) == Qt::red; }

    struct Dialog {
        QString title;
        QString filter;
        bool save;
    };
    MainWindowRig rig;
    TMainForm& form = *rig.form;
    Ui::TMainForm& ui = rig.ui();
    QTemporaryDir folder;
    std::vector<Dialog> dialogs;
};

// ---- channel-B phase

TEST_F(MainFormCommands, SetPhaseTakesDegreesFromTheField) {
    rig.displayB.phaseQuantum = 4;
    ui.PhaseEdit->setText("45,5");
    ui.SetPhaseBtn->click();
    // trunc(16384 * 45.5 / 360) = 2070 points, kept by the display as a multiple of 4.
    EXPECT_EQ(rig.displayB.phaseValue, 2068);
    EXPECT_EQ(rig.generator->phaseB(), 2068);
    EXPECT_EQ(rig.displayB.calls.back(), "redraw");
}

TEST_F(MainFormCommands, EnterInThePhaseFieldSetsAndSelects) {
    ui.PhaseEdit->setText("-90");
    QTest::keyClick(ui.PhaseEdit, Qt::Key_Return);
    EXPECT_EQ(rig.generator->phaseB(), -4096);
    EXPECT_EQ(ui.PhaseEdit->selectedText(), "-90");
}

TEST_F(MainFormCommands, PhaseThatIsNoNumberIsIgnored) {
    rig.generator->ChangePhase(100);
    ui.PhaseEdit->setText("abc");
    ui.SetPhaseBtn->click();
    EXPECT_EQ(rig.generator->phaseB(), 100);
    EXPECT_TRUE(rig.displayB.calls.empty());
    EXPECT_TRUE(rig.answers.calls.empty()) << "no message";
}

TEST_F(MainFormCommands, PhaseGrabTurnsTypingRedAndHandsThePhaseOverWhenReleased) {
    ui.PhaseSetBtn->click();
    EXPECT_TRUE(rig.displayA.grabbing);
    EXPECT_TRUE(rig.displayB.grabbing);
    QTest::keyClicks(ui.PhaseEdit, "1");
    EXPECT_TRUE(baseIsRed());

    rig.displayB.phaseValue = 1234;
    ui.PhaseSetBtn->click();
    EXPECT_FALSE(rig.displayA.grabbing);
    EXPECT_FALSE(rig.displayB.grabbing);
    EXPECT_EQ(rig.generator->phaseB(), 1234);
    EXPECT_FALSE(baseIsRed());
    EXPECT_EQ(rig.displayB.calls.back(), "redraw");
}

TEST_F(MainFormCommands, TypingWithoutGrabKeepsTheFieldColour) {
    QTest::keyClicks(ui.PhaseEdit, "12");
    EXPECT_FALSE(baseIsRed());
}

// ---- waveform selection

TEST_F(MainFormCommands, GalleryChoiceGoesToTheAskingChannel) {
    rig.state().waveIndexA = 1;
    rig.state().waveIndexB = 4;
    rig.generator->ChangeFrequency(10000);  // octave factor 4
    rig.generator->ChangeMultiplier(3);
    rig.displayB.phaseValue = 120;
    rig.modules.galleryChoice = MainWindowModules::GalleryChoice{3, true};
    ui.SelWaveBBtn->click();

    ASSERT_EQ(rig.modules.galleryRequests.size(), 1u);
    const MainWindowModules::GalleryRequest& request = rig.modules.galleryRequests[0];
    EXPECT_EQ(request.channel, 1);
    EXPECT_EQ(request.slotA, 2);
    EXPECT_EQ(request.slotB, 5);
    EXPECT_EQ(request.phase, 120);
    EXPECT_EQ(request.octave, 12);
    EXPECT_EQ(request.pointsPerPeriod, 16384 / 12);
    EXPECT_DOUBLE_EQ(request.frequency, rig.generator->ModeFrequency() * 3);

    EXPECT_EQ(rig.state().waveIndexB, 2);
    EXPECT_EQ(rig.displayB.shownRecord, &rig.store.slots[2]);
    EXPECT_EQ(rig.displayA.shownRecord, &rig.store.slots[1]) << "the other slot was edited";
    EXPECT_FALSE(rig.displayA.busy);
}

TEST_F(MainFormCommands, CancelledGalleryChangesNothing) {
    ui.SelWaveABtn->click();
    EXPECT_EQ(rig.modules.galleryRequests.size(), 1u);
    EXPECT_EQ(rig.state().waveIndexA, 0);
    EXPECT_EQ(rig.displayA.shownRecord, nullptr);
}

TEST_F(MainFormCommands, ChannelAChoiceAppliesTheAutomaticFilterAgain) {
    ui.Autofilter1->trigger();
    rig.modules.galleryChoice = MainWindowModules::GalleryChoice{4, false};
    ui.SelWaveABtn->click();
    EXPECT_EQ(rig.state().waveIndexA, 3);
    EXPECT_TRUE(rig.generator->autoFilter());
    EXPECT_EQ(rig.displayB.shownRecord, nullptr);
}

// ---- import-mode file buttons

TEST_F(MainFormCommands, SaveAndLoadImportedWaves) {
    form.setMode(ModeImport);
    copyRecord(rig.store.slots[0], rig.store.importedA);
    copyRecord(rig.store.slots[1], rig.store.importedB);
    answerFileDialog("first");
    ui.Button5->click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Save imported wave");
    EXPECT_EQ(dialogs[0].filter, "Analog wave (*.gaw)");
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("first.gaw"))) << "extension appended";

    answerFileDialog("first.gaw");
    ui.Button6->click();
    EXPECT_EQ(dialogs.back().title, "Load imported wave");
    EXPECT_FALSE(dialogs.back().save);
    EXPECT_EQ(rig.store.importedB.points, rig.store.slots[0].points);
    EXPECT_EQ(rig.importA.shownRecord, &rig.store.importedA);
    EXPECT_EQ(rig.importB.shownRecord, &rig.store.importedB);
    EXPECT_EQ(rig.generator->Wave(1), &rig.store.importedB);
    EXPECT_TRUE(rig.answers.calls.empty());
}

TEST_F(MainFormCommands, LoadingAWaveOfAnotherLengthGivesItToBothChannels) {
    form.setMode(ModeImport);
    copyRecord(rig.store.slots[0], rig.store.importedA);
    copyRecord(rig.store.slots[1], rig.store.importedB);
    WaveformRecord shorter;
    shorter.setName("short");
    shorter.points.assign(1000, 200);
    shorter.maxSample = shorter.minSample = 200;
    ASSERT_TRUE(exportRecord(shorter, folder.filePath("short.gaw").toStdString(), rig.answers));

    answerFileDialog("short");
    ui.Button4->click();
    ASSERT_EQ(rig.answers.texts(),
              std::vector<std::string>({"Druhy priebeh (na druhom kanale) ma inu velkost.\r\n"
                                        "Priradujem tento priebeh obom kanalom."}));
    EXPECT_EQ(rig.store.importedA.pointCount(), 1000);
    EXPECT_EQ(rig.store.importedB.pointCount(), 1000);
    EXPECT_EQ(rig.store.importedB.name(), "short");
}

TEST_F(MainFormCommands, FailedOrCancelledLoadLeavesTheWaves) {
    form.setMode(ModeImport);
    copyRecord(rig.store.slots[0], rig.store.importedA);
    answerFileDialog("");
    ui.Button4->click();
    answerFileDialog("missing.gaw");
    ui.Button4->click();
    EXPECT_EQ(rig.answers.calls.size(), 1u) << "the file error only";
    EXPECT_EQ(rig.store.importedA.points, rig.store.slots[0].points);
    EXPECT_EQ(rig.importA.shownRecord, nullptr);
}

TEST_F(MainFormCommands, FileDialogGivesTheStartDirectoryBack) {
    rig.state().startDirectory = folder.path().toStdString();
    const QString before = QDir::currentPath();
    form.setFileNameAsker([](QWidget*, const QString&, const QString&, bool) {
        QDir::setCurrent(QDir::rootPath());
        return QString();
    });
    ui.Button7->click();
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
    QDir::setCurrent(before);
}

TEST_F(MainFormCommands, AsciiImportReleasesTheLevelLock) {
    rig.state().settingsLoaded = true;
    form.setMode(ModeImport);
    ui.ILockLevelBtn->click();
    ASSERT_FALSE(ui.LevelBarA->isEnabled());

    rig.modules.importSucceeds = false;
    ui.Button3->click();
    EXPECT_TRUE(ui.ILockLevelBtn->isChecked());

    rig.modules.importSucceeds = true;
    ui.Button3->click();
    EXPECT_FALSE(ui.ILockLevelBtn->isChecked());
    EXPECT_TRUE(ui.LevelBarA->isEnabled());
    EXPECT_EQ(rig.importB.shownRecord, &rig.store.importedB);
}

// ---- digital mode

TEST_F(MainFormCommands, DigitalButtonsReachTheDisplayAndTheEditor) {
    form.setMode(ModeDigital);
    ui.DigitalZoomInBtn->click();
    ui.DigitalZoomOutBtn->click();
    rig.modules.editAccepted = false;
    ui.Button1->click();
    rig.modules.editAccepted = true;
    ui.Button1->click();
    EXPECT_EQ(rig.digital.calls, std::vector<std::string>({"zoomIn", "zoomOut", "redraw"}));
}

// ---- menu

TEST_F(MainFormCommands, SettingsTogglesReachTheModelAndThePanels) {
    ui.Forcedigitaloutputs1->trigger();
    EXPECT_EQ(rig.generator->digitalOutputs(), 1);
    ui.Forcedigitaloutputs1->trigger();
    EXPECT_EQ(rig.generator->digitalOutputs(), 0);

    ui.Autofilter1->trigger();
    EXPECT_TRUE(ui.Autofilter1->isChecked());
    EXPECT_TRUE(rig.generator->autoFilter());

    ui.VRmsfromAC1->trigger();
    EXPECT_TRUE(rig.panelA.acRms);
    EXPECT_TRUE(rig.panelB.acRms);
    EXPECT_EQ(rig.journal, std::vector<std::string>({"A.setAcRms", "A.refreshReadouts",
                                                     "B.setAcRms", "B.refreshReadouts"}));
}

TEST_F(MainFormCommands, FilterBoxesAreTheModelsFilterChoice) {
    ui.FilterBoxB->setCurrentIndex(1);
    EXPECT_EQ(form.shownFilter(1), 1);
    form.chooseFilter(0, 0);
    EXPECT_EQ(ui.FilterBoxA->currentIndex(), 0);
}

TEST_F(MainFormCommands, CommunicationChangesWaitForTheNextStart) {
    rig.modules.communicationChoice = MainWindowModules::CommunicationValues{0, 0x378, false};
    ui.Communication1->trigger();
    EXPECT_TRUE(rig.answers.calls.empty()) << "nothing changed";

    rig.modules.communicationChoice = MainWindowModules::CommunicationValues{3, 0x278, true};
    ui.Communication1->trigger();
    EXPECT_EQ(rig.answers.texts(),
              std::vector<std::string>({"Zmeny sa premietnu po restarte programu."}));
    EXPECT_EQ(rig.answers.calls[0].kind, MessageKind::Information);
    EXPECT_EQ(rig.state().baseAddressIndex, 3);
    EXPECT_EQ(rig.state().portAddress, 0x278);
    EXPECT_TRUE(rig.state().useUsb);
}

TEST_F(MainFormCommands, HelpOpensTheHelpFileOfTheStartDirectoryOrSaysWhyNot) {
    rig.state().startDirectory = folder.path().toStdString();
    const QString help = folder.filePath("q745.hlp");
    const std::string cannotOpen = "Nie je mozne otvorit subor: " + help.toStdString();
    ui.Help2->trigger();
    EXPECT_EQ(rig.answers.texts(), std::vector<std::string>{cannotOpen}) << "missing";
    EXPECT_TRUE(rig.opened.empty());

    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ui.Help2->trigger();
    ASSERT_EQ(rig.opened.size(), 1u);
    EXPECT_EQ(rig.opened[0], QUrl::fromLocalFile(help));
    EXPECT_EQ(rig.answers.calls.size(), 1u);

    rig.desktopOpens = false;
    ui.Help2->trigger();
    EXPECT_EQ(rig.answers.texts(), std::vector<std::string>(2, cannotOpen)) << "no program";
    EXPECT_EQ(rig.answers.calls[1].kind, MessageKind::Error);
}

TEST_F(MainFormCommands, ReadmeIsOpenedEvenWhenMissing) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    ui.Viewreadme1->trigger();
    ASSERT_EQ(rig.answers.texts(), std::vector<std::string>({"Subor readme chyba"}));
    EXPECT_EQ(rig.answers.calls[0].kind, MessageKind::Error);
    ASSERT_EQ(rig.opened.size(), 1u);
    // The recording driver names the NT platform.
    EXPECT_EQ(rig.opened[0].toLocalFile(), QDir(folder.path()).filePath("ReadmeNTSVK.txt"));

    QFile readme(folder.filePath("ReadmeNTSVK.txt"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    ui.Viewreadme1->trigger();
    EXPECT_EQ(rig.answers.calls.size(), 1u);
    EXPECT_EQ(rig.opened.size(), 2u);

    rig.desktopOpens = false;
    ui.Viewreadme1->trigger();
    EXPECT_EQ(rig.answers.texts().back(),
              "Nie je mozne otvorit subor: " + folder.filePath("ReadmeNTSVK.txt").toStdString());
    QDir::setCurrent(before);
}

TEST_F(MainFormCommands, UpdatesMenuCanBeSwitchedOffForTheRun) {
    form.disableUpdates();
    EXPECT_FALSE(ui.Updates1->menuAction()->isEnabled());
}

TEST_F(MainFormCommands, AboutShowsTheVersionsAndOpensTheLinks) {
    rig.state().programVersion = {2, 7, 0, 0};
    rig.state().useUsb = true;
    rig.device.driver.driverVersion[1] = {2, {4, 3}};
    QString version;
    QString driverLine;
    whenModalShown([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "About");
        version = window->findChild<QLabel*>("VersionLabel")->text();
        driverLine = window->findChild<QLabel*>("DriverLabel")->text();
        Q_EMIT window->findChild<QLabel*>("MailLabel")
            ->linkActivated(TAboutForm::mailUrl().toString());
        Q_EMIT window->findChild<QLabel*>("WebLabel")
            ->linkActivated(TAboutForm::webUrl().toString());
        window->findChild<QPushButton*>("OKButton")->click();
    });
    ui.About1->trigger();
    EXPECT_EQ(version, "Verzia programu: 2.07");
    EXPECT_EQ(driverLine, "Verzia ovladacov KelvoUsb: 4.03");
    ASSERT_EQ(rig.opened.size(), 2u);
    EXPECT_EQ(rig.opened[0].scheme(), "mailto");
    EXPECT_EQ(rig.opened[0].path(), "support@kelvo.sk");
    EXPECT_EQ(rig.opened[1].host(), "www.kelvo.sk");
}

}  // namespace
