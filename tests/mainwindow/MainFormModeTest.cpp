// The mode switch and what comes with it: the boxes each mode shows, the mode menu, the
// settings sent for the new mode, the import-mode levels and the level lock.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QStringList>
#include <algorithm>

#include "MainWindowRig.h"

namespace {

class MainFormMode : public ::testing::Test {
protected:
    QStringList shownBoxes() {
        QStringList shown;
        for (QWidget* child :
             rig.form->clientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden()) shown << child->objectName();
        shown.sort();
        return shown;
    }
    bool journalHas(const std::string& entry) const {
        return std::find(rig.journal.begin(), rig.journal.end(), entry) != rig.journal.end();
    }

    MainWindowRig rig;
    TMainForm& form = *rig.form;
    Ui::TMainForm& ui = rig.ui();
};

TEST_F(MainFormMode, EachModeShowsItsBoxes) {
    form.setMode(ModeAnalog);
    EXPECT_EQ(rig.state().currentMode, ModeAnalog);
    EXPECT_EQ(shownBoxes(),
              QStringList({"DockSite1", "FrequencyBox", "GroupBox1", "GroupBox13", "GroupBox14",
                           "GroupBox15", "GroupBox16", "GroupBox17", "GroupBox7"}));

    form.setMode(ModeDigital);
    EXPECT_EQ(shownBoxes(), QStringList({"GroupBox12", "GroupBox14", "GroupBox15", "GroupBox16",
                                         "GroupBox21", "GroupBox6"}));

    form.setMode(ModeImport);
    EXPECT_EQ(shownBoxes(), QStringList({"GroupBox1", "GroupBox14", "GroupBox15", "GroupBox16",
                                         "GroupBox18", "GroupBox19", "GroupBox20", "GroupBox7"}));
}

TEST_F(MainFormMode, OnlyTheMenuEntryOfTheModeIsChecked) {
    form.setMode(ModeDigital);
    EXPECT_FALSE(ui.Analogmode1->isChecked());
    EXPECT_TRUE(ui.Digitalmode1->isChecked());
    EXPECT_FALSE(ui.ImportfromQ726mode1->isChecked());
    ui.ImportfromQ726mode1->trigger();
    EXPECT_EQ(rig.state().currentMode, ModeImport);
    EXPECT_FALSE(ui.Digitalmode1->isChecked());
    EXPECT_TRUE(ui.ImportfromQ726mode1->isChecked());
    // Choosing the entry of the current mode keeps its check mark.
    ui.ImportfromQ726mode1->trigger();
    EXPECT_TRUE(ui.ImportfromQ726mode1->isChecked());
}

TEST_F(MainFormMode, ControlsWithoutMaskAreNotTouched) {
    ui.TriggerLeadBtn->setVisible(true);
    form.setMode(ModeDigital);
    form.setMode(ModeAnalog);
    EXPECT_FALSE(ui.TriggerLeadBtn->isHidden());
    EXPECT_TRUE(ui.TriggerGoBtn->isVisibleTo(ui.GroupBox14));
}

TEST_F(MainFormMode, TheNewModesSettingsReachTheInstrument) {
    form.setMode(ModeAnalog);
    rig.generator->Activate();
    rig.device.driver.forget();
    form.setMode(ModeDigital);
    const auto calls = rig.device.driver.calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetDigitalOutputOn(1)"), calls.end());
}

TEST_F(MainFormMode, DataViewFollowsTheMode) {
    form.setMode(ModeAnalog);
    ui.Harmonics1->trigger();
    EXPECT_TRUE(rig.state().dataViewOpen);
    ui.Harmonics1->trigger();
    form.setMode(ModeDigital);
    form.setMode(ModeAnalog);
    EXPECT_EQ(rig.modules.calls,
              std::vector<std::string>({"openDataView", "hideDataView", "showDataView"}));
}

TEST_F(MainFormMode, DataViewOpensOnlyInAnalogMode) {
    form.setMode(ModeImport);
    ui.Harmonics1->trigger();
    EXPECT_FALSE(rig.state().dataViewOpen);
    EXPECT_TRUE(rig.modules.calls.empty());
}

TEST_F(MainFormMode, LevelsWaitForTheSettings) {
    form.setMode(ModeImport);
    rig.state().importLevelA = 1000;
    form.applyModeLevels();
    EXPECT_EQ(ui.LevelBarA->value(), 2048);
    EXPECT_TRUE(rig.journal.empty());

    rig.state().settingsLoaded = true;
    form.setMode(ModeDigital);
    form.applyModeLevels();
    EXPECT_TRUE(rig.journal.empty());
}

TEST_F(MainFormMode, EnteringImportModeRestoresItsLevelAndOutput) {
    rig.state().settingsLoaded = true;
    rig.state().importLevelA = 1000;
    rig.state().importLevelB = 3000;
    rig.state().importOutputA = 2;
    rig.state().importOutputB = 0;
    ui.ImportfromQ726mode1->trigger();
    EXPECT_EQ(ui.LevelBarA->value(), 4096 - 1000);
    EXPECT_EQ(ui.LevelBarB->value(), 4096 - 3000);
    EXPECT_TRUE(ui.Output20BtnA->isChecked());
    EXPECT_TRUE(ui.OutputOffBtnB->isChecked());
    EXPECT_EQ(rig.journal, std::vector<std::string>({"A.refreshValues", "B.refreshValues",
                                                     "A.shiftBarChanged", "B.shiftBarChanged"}));
    // The zero lines go to the import displays.
    EXPECT_EQ(rig.importA.zeroMark, rig.generator->ZeroLine(0));
    EXPECT_EQ(rig.importB.zeroMark, rig.generator->ZeroLine(1));
    EXPECT_EQ(rig.displayA.zeroMark, -1000);
}

TEST_F(MainFormMode, ImportLevelSurvivesAChangeInAnalogMode) {
    rig.state().settingsLoaded = true;
    rig.state().appReady = true;
    ui.ImportfromQ726mode1->trigger();
    ui.LevelBarA->setValue(4096 - 700);
    rig.generator->ChangeOutputState(0, 2);  // reports through VerticalChanged
    EXPECT_EQ(rig.state().importLevelA, 700);
    EXPECT_EQ(rig.state().importOutputA, 2);

    ui.Analogmode1->trigger();
    EXPECT_EQ(ui.LevelBarA->value(), 4096 - 700) << "analog mode keeps what the controls hold";
    ui.LevelBarA->setValue(4096 - 2500);
    rig.generator->ChangeLevel(0, 2500);
    EXPECT_EQ(rig.state().importLevelA, 700);

    ui.ImportfromQ726mode1->trigger();
    EXPECT_EQ(ui.LevelBarA->value(), 4096 - 700);
}

TEST_F(MainFormMode, LockLevelDisablesLevelControlsInImportMode) {
    rig.state().settingsLoaded = true;
    ui.ImportfromQ726mode1->trigger();
    ui.ILockLevelBtn->click();
    for (QWidget* control : std::initializer_list<QWidget*>{ui.LevelBarA, ui.LevelBarB, ui.VppEditA,
                                                            ui.VppEditB, ui.dBEditA, ui.dBEditB})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(ui.ShiftBarA->isEnabled());

    ui.Analogmode1->trigger();
    EXPECT_TRUE(ui.LevelBarA->isEnabled());
    EXPECT_TRUE(ui.LevelBarB->isEnabled());

    // Back in import mode the lock, still down, applies again; releasing it enables all.
    ui.ImportfromQ726mode1->trigger();
    EXPECT_FALSE(ui.LevelBarB->isEnabled());
    ui.ILockLevelBtn->click();
    EXPECT_TRUE(ui.LevelBarB->isEnabled());
    EXPECT_TRUE(ui.dBEditA->isEnabled());
}

TEST_F(MainFormMode, LockLevelDoesNothingOutsideImportMode) {
    form.setMode(ModeAnalog);
    ui.ILockLevelBtn->setChecked(true);
    form.applyLevelLock();
    EXPECT_TRUE(ui.LevelBarA->isEnabled());
    EXPECT_TRUE(ui.VppEditB->isEnabled());
}

}  // namespace
