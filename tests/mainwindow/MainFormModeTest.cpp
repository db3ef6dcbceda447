// The mode switch: which group boxes each mode shows, and the mode menu's check marks.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QStringList>

#include "AppState.h"
#include "Main.h"
#include "ui_Main.h"

namespace {

class MainFormMode : public ::testing::Test {
protected:
    QStringList shownBoxes() {
        QStringList shown;
        for (QWidget* child : form.clientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden()) shown << child->objectName();
        shown.sort();
        return shown;
    }

    AppState state;
    TMainForm form{state};
};

TEST_F(MainFormMode, EachModeShowsItsBoxes) {
    form.setMode(ModeAnalog);
    EXPECT_EQ(state.currentMode, ModeAnalog);
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
    Ui::TMainForm& ui = form.controls();
    form.setMode(ModeDigital);
    EXPECT_FALSE(ui.Analogmode1->isChecked());
    EXPECT_TRUE(ui.Digitalmode1->isChecked());
    EXPECT_FALSE(ui.ImportfromQ726mode1->isChecked());
    form.setMode(ModeImport);
    EXPECT_FALSE(ui.Digitalmode1->isChecked());
    EXPECT_TRUE(ui.ImportfromQ726mode1->isChecked());
}

TEST_F(MainFormMode, ControlsWithoutMaskAreNotTouched) {
    Ui::TMainForm& ui = form.controls();
    ui.TriggerLeadBtn->setVisible(true);
    form.setMode(ModeDigital);
    form.setMode(ModeAnalog);
    EXPECT_FALSE(ui.TriggerLeadBtn->isHidden());
    EXPECT_TRUE(ui.TriggerGoBtn->isVisibleTo(ui.GroupBox14));
}

}  // namespace
