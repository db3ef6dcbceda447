// The handlers of the generator model's events: cursor read-outs, zero lines, the channel
// refresh after a new waveform, and the cursors drawn while values change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

#include "core/CursorReadouts.h"
#include "MainWindowRig.h"

namespace {

class MainFormHandlers : public ::testing::Test {
protected:
    MainFormHandlers() {
        form.setMode(ModeAnalog);
        // A full sine at level code 2048 into an open output: 8400 mV peak-to-peak.
        rig.generator->ChangeWave(0, rig.store.slots[0]);
        rig.generator->ChangeWave(1, rig.store.slots[0]);
        rig.generator->ChangeLevel(0, 2048);
        rig.generator->ChangeLevel(1, 2048);
        rig.generator->ChangeFrequency(1000);
    }
    // A mouse move seen by the whole application, at a point of the screen.
    void moveMouseTo(QPoint global) {
        QMouseEvent move(QEvent::MouseMove, form.clientArea()->mapFromGlobal(global), global,
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.clientArea(), &move);
    }
    static QPoint centreOf(QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

    MainWindowRig rig;
    TMainForm& form = *rig.form;
    Ui::TMainForm& ui = rig.ui();
};

TEST_F(MainFormHandlers, AnalogReadoutsOfBothChannels) {
    rig.displayA.cursorPositions = {1000, 9192, 1, 255, 129};
    rig.displayB.cursorPositions = {0, 8192, 128, 128, 128};
    rig.generator->ChangeMultiplier(2);
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.DeltaXLabelA->text(), "") << "nothing before the program is ready";

    rig.state().appReady = true;
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.DeltaXLabelA->text(), "50%");
    EXPECT_EQ(ui.DeltaXTimeLabelA->text(), "500us");
    EXPECT_EQ(ui.DeltaXFreqLabelA->text(), "2kHz");
    EXPECT_EQ(ui.DeltaYLabelA->text(), "100%");
    EXPECT_EQ(ui.DeltaYVLabelA->text(), "8.4V");
    EXPECT_EQ(ui.DeltaYAbsLabelA->text(), "-4.233V") << "below the zero line, one minus sign";
    // Channel B plays at twice the frequency.
    EXPECT_EQ(ui.DeltaXTimeLabelB->text(), "250us");
    EXPECT_EQ(ui.DeltaYLabelB->text(), "0%");
    EXPECT_EQ(ui.DeltaYAbsLabelB->text(), "0V");
    // Half a period of channel B at 10 kHz times 2, whatever the octave factor (4 here).
    rig.generator->ChangeFrequency(10000);
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.DeltaXTimeLabelB->text(), "25us");
}

TEST_F(MainFormHandlers, FrequencyLabelKeepsItsTextWhenTheCursorsMeet) {
    rig.state().appReady = true;
    rig.displayA.cursorPositions = {0, 4096, 128, 128, 128};
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.DeltaXFreqLabelA->text(), "4kHz");
    rig.displayA.cursorPositions = {4096, 4096, 128, 128, 128};
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.DeltaXTimeLabelA->text(), "0s");
    EXPECT_EQ(ui.DeltaXFreqLabelA->text(), "4kHz");
}

TEST_F(MainFormHandlers, ReadoutsRetakeThePhaseOfDisplayB) {
    rig.state().appReady = true;
    rig.displayB.phaseValue = 4096;
    form.WaveScreenCursorMove();
    EXPECT_EQ(ui.PhaseEdit->text(), "90");
    EXPECT_EQ(rig.displayB.count("setPhase"), 1);
    EXPECT_EQ(rig.displayB.count("redraw"), 1) << "first read-out: the quantum is new";
    form.WaveScreenCursorMove();
    EXPECT_EQ(rig.displayB.count("redraw"), 1) << "same octave and multiplier";
    rig.generator->ChangeMultiplier(3);
    EXPECT_EQ(rig.displayB.count("redraw"), 2) << "the model's change event reads out again";
    ui.PhaseSetBtn->click();
    form.WaveScreenCursorMove();
    EXPECT_EQ(rig.displayB.count("redraw"), 3) << "redrawn while the phase is grabbed";
}

TEST_F(MainFormHandlers, ReadoutsRefreshTheOpenDataView) {
    rig.state().appReady = true;
    rig.state().dataViewOpen = true;
    form.WaveScreenCursorMove();
    EXPECT_EQ(rig.modules.calls, std::vector<std::string>({"refreshDataView"}));
    EXPECT_TRUE(rig.state().appReady);
}

TEST_F(MainFormHandlers, ImportReadoutsNeedBothImportedWaves) {
    rig.state().appReady = true;
    form.setMode(ModeImport);
    copyRecord(rig.store.slots[0], rig.store.importedA);
    rig.generator->ChangeImportTickFrequency(1000000);
    EXPECT_EQ(ui.WaveFreq->text(), "") << "waveform B is still empty";

    copyRecord(rig.store.slots[1], rig.store.importedB);
    rig.generator->ChangeWave(0, rig.store.importedA);
    rig.generator->ChangeWave(1, rig.store.importedB);
    rig.importA.cursorPositions = {0, 4096, 255, 1, 129};
    rig.importB.cursorPositions = {100, 100, 128, 128, 129};
    form.ImportedWaveScreenCursorMove();
    EXPECT_EQ(ui.WaveFreq->text(), "61.0352Hz");
    EXPECT_EQ(ui.IDeltaXALabel->text(), "25%");
    EXPECT_EQ(ui.IDeltaYALabel->text(), "100%");
    EXPECT_EQ(ui.IDeltaYUALabel->text(), "8.4V");
    EXPECT_EQ(ui.IAbsYALabel->text(), "4.167V");
    const CursorReadout expected =
        importCursorReadout({0, 4096, 255, 1, 129}, {8400.0, 254}, 1000000.0, 16384);
    EXPECT_EQ(ui.IDeltaXTimeALabel->text().toStdString(), expected.deltaXTime);
    EXPECT_EQ(ui.IDeltaXFreqALabel->text().toStdString(), expected.deltaXFrequency);
    EXPECT_EQ(ui.IDeltaXBLabel->text(), "0%");
    EXPECT_EQ(ui.IAbsYBLabel->text(), "-33.1mV");
}

TEST_F(MainFormHandlers, NewWaveformRefreshesItsChannelAndTakesTheDbReference) {
    QObject::connect(ui.SetDBBtnB, &QToolButton::clicked,
                     [this] { rig.journal.push_back("SetDBBtnB"); });
    form.WaveFormChanged(1);
    EXPECT_TRUE(rig.journal.empty()) << "nothing before the program is ready";
    rig.state().appReady = true;
    rig.generator->ChangeWave(1, rig.store.slots[2]);
    EXPECT_EQ(rig.journal,
              std::vector<std::string>({"B.refreshValues", "SetDBBtnB", "B.refreshReadouts"}));
}

TEST_F(MainFormHandlers, ZeroLineGoesToTheDisplayOfTheMode) {
    form.WaveFormNullMoved(1, 77);
    EXPECT_EQ(rig.displayB.zeroMark, 77) << "also before the program is ready";
    const int analogZero = rig.displayA.zeroMark;
    form.setMode(ModeImport);
    form.WaveFormNullMoved(0, 60);
    EXPECT_EQ(rig.importA.zeroMark, 60);
    EXPECT_EQ(rig.displayA.zeroMark, analogZero);
    form.setMode(ModeDigital);
    form.WaveFormNullMoved(0, 10);
    EXPECT_EQ(rig.importA.zeroMark, 60);
}

TEST_F(MainFormHandlers, TickFrequencyRedrawsTheDigitalSequence) {
    rig.state().appReady = true;
    form.setMode(ModeDigital);
    rig.generator->ChangeFrequency(20000);
    EXPECT_EQ(rig.digital.calls, std::vector<std::string>({"redraw"}));
}

TEST_F(MainFormHandlers, CursorsShownWhileChangingUntilThePointerLeaves) {
    form.show();
    rig.state().appReady = true;
    rig.generator->ChangeFrequency(2000);
    rig.generator->ChangeLevel(0, 1000);
    EXPECT_EQ(rig.displayA.count("showCursors"), 1);
    EXPECT_EQ(rig.displayB.count("showCursors"), 1);

    moveMouseTo(centreOf(ui.WaveformB));
    moveMouseTo(centreOf(ui.DockSite1));
    EXPECT_TRUE(rig.displayA.cursorsShown);
    const QPoint corner = ui.GroupBox17->mapToGlobal(QPoint(0, 0));
    moveMouseTo(corner);
    EXPECT_FALSE(rig.displayA.cursorsShown) << "the outermost pixel counts as outside";
    EXPECT_FALSE(rig.displayB.cursorsShown);

    rig.generator->ChangeLevel(1, 1000);
    EXPECT_EQ(rig.displayB.count("showCursors"), 2) << "drawn again on the next change";
}

TEST_F(MainFormHandlers, DisplayUnderThePointerLearnsWhenItLeaves) {
    form.show();
    form.WaveAMouseOver();
    moveMouseTo(centreOf(ui.WaveformA));
    EXPECT_EQ(rig.displayA.count("pointerLeft"), 0);
    moveMouseTo(centreOf(ui.WaveformB));
    EXPECT_EQ(rig.displayA.count("pointerLeft"), 1);
    moveMouseTo(centreOf(ui.GroupBox1));
    EXPECT_EQ(rig.displayA.count("pointerLeft"), 1) << "told once";
    EXPECT_EQ(rig.displayB.count("pointerLeft"), 0);
}

TEST_F(MainFormHandlers, ImportModeLevelChangesLeaveTheCursorsAlone) {
    rig.state().appReady = true;
    form.setMode(ModeImport);
    rig.generator->ChangeLevel(0, 3000);
    EXPECT_EQ(rig.displayA.count("showCursors"), 0);
}

}  // namespace
