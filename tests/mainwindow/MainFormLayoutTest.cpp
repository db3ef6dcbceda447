// The main window's form: every control the panels and the settings are handed exists under
// its name, with its caption, hint, default state and exclusive group, and nothing is clipped.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QStringList>
#include <map>
#include <memory>

#include "MainWindowRig.h"

namespace {

class MainFormLayout : public ::testing::Test {
protected:
    template <class T>
    T* control(const char* name) {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    MainWindowRig rig;
    TMainForm& form = *rig.form;
};

TEST_F(MainFormLayout, ClientAreaAndCaption) {
    EXPECT_EQ(form.clientArea()->size(), QSize(792, 554));
    EXPECT_EQ(form.windowTitle(), "Q745");
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainFormLayout, GroupBoxesCarryTheirCaptionAndModeMask) {
    const std::map<std::string, std::pair<QString, int>> boxes = {
        {"FrequencyBox", {"Frequency", 1}},     {"GroupBox13", {"Frequency B", 1}},
        {"GroupBox17", {"Waveforms", 1}},       {"GroupBox1", {"Channel A", 5}},
        {"GroupBox7", {"Channel B", 5}},        {"GroupBox14", {"Trigger", 7}},
        {"GroupBox15", {"Sync out", 7}},        {"GroupBox16", {"Mode", 7}},
        {"GroupBox21", {"Voltage", 2}},         {"GroupBox12", {"Tick frequency", 2}},
        {"GroupBox6", {"Digital sequence", 2}}, {"GroupBox18", {"Tick frequency", 4}},
        {"GroupBox20", {"Operations", 4}},      {"GroupBox19", {"Imported waves", 4}},
    };
    for (const auto& [name, expected] : boxes) {
        auto* box = control<QGroupBox>(name.c_str());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->title(), expected.first) << name;
        EXPECT_EQ(box->property("tag").toInt(), expected.second) << name;
        EXPECT_EQ(box->parentWidget(), form.clientArea()) << name;
    }
    auto* dockSite = control<QWidget>("DockSite1");
    ASSERT_NE(dockSite, nullptr);
    EXPECT_EQ(dockSite->property("tag").toInt(), 1);
}

TEST_F(MainFormLayout, EveryControlThePanelsAreHandedExists) {
    const QStringList frequencyControls = {
        "FreqImage",  "FreqEdit",  "RealFreqEdit", "FineBar",    "ConFreqBtn", "StepFreqBtn",
        "SetFreqBtn", "LinAdvBtn", "LogFreqBtn",   "LinFreqBtn", "ZoomToBtn",  "ZoomOutBtn"};
    for (const QString& prefix : {QString(), QString("Tick"), QString("ITick")})
        for (const QString& name : frequencyControls)
            EXPECT_NE(form.findChild<QWidget*>(prefix + name), nullptr)
                << (prefix + name).toStdString();
    const QStringList channelControls = {
        "VppBtn",        "VavgBtn",        "VRmsBtn",       "VpBtn",        "VppEdit",
        "VavgEdit",      "VRmsEdit",       "VpEdit",        "VpPlusBtn",    "VpMinusBtn",
        "ExtLevelOnBtn", "ExtLevelOffBtn", "LevelUnitsBox", "LevelEdit",    "LevelBar",
        "AutoDBBtn",     "ManualDBBtn",    "SetDBBtn",      "dBEdit",       "ConShiftBtn",
        "StepShiftBtn",  "ShiftEdit",      "ShiftOutBtn",   "ShiftNullBtn", "ShiftOutEdit",
        "ShiftBar",      "LoadOpenBtn",    "Load50Btn",     "LoadEdit",     "FilterBox",
        "OutputOffBtn",  "Output20Btn",    "Output0Btn"};
    for (const QString& suffix : {QString("A"), QString("B")})
        for (const QString& name : channelControls)
            EXPECT_NE(form.findChild<QWidget*>(name + suffix), nullptr)
                << (name + suffix).toStdString();
    const QStringList others = {"RatioDownBtn",
                                "RatioUpBtn",
                                "FreqBEdit",
                                "FreqBResult",
                                "RatioDownMask",
                                "RatioUpMask",
                                "TriggerOnBtn",
                                "TriggerOffBtn",
                                "TriggerGoBtn",
                                "TriggerStopBtn",
                                "TriggerLeadBtn",
                                "TriggerTrailBtn",
                                "SyncOnBtn",
                                "SyncOffBtn",
                                "SyncModeSingleBtn",
                                "SyncModePeriodBtn",
                                "WaveformA",
                                "WaveformB",
                                "ImportedWaveImageA",
                                "ImportedWaveImageB",
                                "DigitalImage",
                                "DigitalBar",
                                "DigitalZoomInBtn",
                                "DigitalZoomOutBtn",
                                "Button1",
                                "DigitalVoltageBox",
                                "Label9",
                                "Label11",
                                "Label15",
                                "Label14",
                                "SelWaveABtn",
                                "SelWaveBBtn",
                                "PhaseSetBtn",
                                "PhaseEdit",
                                "SetPhaseBtn",
                                "ILockLevelBtn",
                                "Button2",
                                "Button3",
                                "Button4",
                                "Button5",
                                "Button6",
                                "Button7",
                                "WaveFreq",
                                "DeltaXLabelA",
                                "DeltaXTimeLabelA",
                                "DeltaXFreqLabelA",
                                "DeltaYLabelA",
                                "DeltaYVLabelA",
                                "DeltaYAbsLabelA",
                                "DeltaXLabelB",
                                "DeltaXTimeLabelB",
                                "DeltaXFreqLabelB",
                                "DeltaYLabelB",
                                "DeltaYVLabelB",
                                "DeltaYAbsLabelB",
                                "IDeltaXALabel",
                                "IDeltaXTimeALabel",
                                "IDeltaXFreqALabel",
                                "IDeltaXBLabel",
                                "IDeltaXTimeBLabel",
                                "IDeltaXFreqBLabel",
                                "IDeltaYALabel",
                                "IDeltaYUALabel",
                                "IAbsYALabel",
                                "IDeltaYBLabel",
                                "IDeltaYUBLabel",
                                "IAbsYBLabel"};
    for (const QString& name : others)
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name.toStdString();
}

TEST_F(MainFormLayout, MenuEntriesWithTheirNames) {
    EXPECT_NE(form.findChild<QMenuBar*>("MainMenu1"), nullptr);
    const std::map<std::string, QString> entries = {
        {"Exit1", "Exit"},
        {"Analogmode1", "Analog mode"},
        {"Digitalmode1", "Digital mode"},
        {"ImportfromQ726mode1", "Import mode"},
        {"Harmonics1", "Editor data view"},
        {"Forcedigitaloutputs1", "Force digital outputs"},
        {"VRmsfromAC1", "VRms from AC"},
        {"Autofilter1", "Auto filter"},
        {"Communication1", "Communication"},
        {"Openprofile1", "Open profile"},
        {"Saveprofile1", "Save profile"},
        {"Checkforupdates1", "Check for updates"},
        {"Downloadupdate1", "Download update"},
        {"Internetsettings1", "Internet settings"},
        {"Help2", "Help"},
        {"Viewreadme1", "View readme"},
        {"About1", "About"},
    };
    for (const auto& [name, text] : entries) {
        auto* action = control<QAction>(name.c_str());
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), text) << name;
    }
    EXPECT_TRUE(form.controls().Analogmode1->isChecked());
    EXPECT_EQ(form.controls().Help2->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(form.controls().Updates1->title(), "Updates");
    EXPECT_EQ(form.controls().Profiles1->title(), "Profiles");
}

TEST_F(MainFormLayout, ExclusiveGroupsAndTheirStartingChoice) {
    // Each list is one exclusive group; the first button is the one down at start.
    const std::vector<QStringList> groups = {
        {"LogFreqBtn", "LinFreqBtn", "LinAdvBtn"},
        {"ConFreqBtn", "StepFreqBtn"},
        {"TickLogFreqBtn", "TickLinFreqBtn", "TickLinAdvBtn"},
        {"ITickConFreqBtn", "ITickStepFreqBtn"},
        {"TriggerOffBtn", "TriggerOnBtn"},
        {"TriggerTrailBtn", "TriggerLeadBtn"},
        {"TriggerGoBtn", "TriggerStopBtn"},
        {"SyncModePeriodBtn", "SyncModeSingleBtn"},
        {"SyncOnBtn", "SyncOffBtn"},
        {"VpPlusBtnA", "VpMinusBtnA"},
        {"Output0BtnB", "Output20BtnB", "OutputOffBtnB"},
        {"ExtLevelOffBtnA", "ExtLevelOnBtnA"},
        {"AutoDBBtnB", "ManualDBBtnB"},
        {"ConShiftBtnA", "StepShiftBtnA"},
        {"LoadOpenBtnB", "Load50BtnB"},
    };
    for (const QStringList& names : groups) {
        std::vector<QAbstractButton*> buttons;
        for (const QString& name : names)
            buttons.push_back(form.findChild<QAbstractButton*>(name));
        ASSERT_NE(buttons.front(), nullptr) << names.front().toStdString();
        QButtonGroup* group = buttons.front()->group();
        ASSERT_NE(group, nullptr) << names.front().toStdString();
        EXPECT_TRUE(group->exclusive());
        EXPECT_EQ(group->buttons().size(), names.size()) << names.front().toStdString();
        EXPECT_TRUE(buttons.front()->isChecked()) << names.front().toStdString();
        for (QAbstractButton* button : buttons)
            EXPECT_EQ(button->group(), group);
        buttons.back()->click();
        EXPECT_FALSE(buttons.front()->isChecked()) << names.front().toStdString();
    }
}

TEST_F(MainFormLayout, StartingValuesRangesAndHints) {
    Ui::TMainForm& ui = form.controls();
    for (QScrollBar* bar : {ui.LevelBarA, ui.LevelBarB, ui.ShiftBarA, ui.ShiftBarB}) {
        EXPECT_EQ(bar->orientation(), Qt::Vertical);
        EXPECT_EQ(bar->maximum(), 4096);
        EXPECT_EQ(bar->pageStep(), 18);
    }
    for (QScrollBar* bar : {ui.FineBar, ui.TickFineBar, ui.ITickFineBar}) {
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), 200);
        EXPECT_EQ(bar->value(), 100);
    }
    EXPECT_EQ(ui.FreqBEdit->text(), "1");
    EXPECT_EQ(ui.LoadEditA->text(), "Open");
    EXPECT_EQ(ui.FilterBoxA->count(), 3);
    EXPECT_EQ(ui.FilterBoxA->itemText(0), "Low");
    EXPECT_EQ(ui.FilterBoxB->itemText(2), "Off");
    EXPECT_EQ(ui.LevelUnitsBoxB->itemText(3), "dBuV");
    EXPECT_EQ(ui.DigitalVoltageBox->itemText(0), "3.3V");
    EXPECT_EQ(ui.DigitalVoltageBox->itemText(1), "5V");
    EXPECT_TRUE(ui.VppBtnA->isChecked());
    EXPECT_TRUE(ui.VpBtnB->isChecked());
    EXPECT_FALSE(ui.VRmsBtnA->isChecked());
    EXPECT_TRUE(ui.RealFreqEdit->isReadOnly());
    EXPECT_EQ(ui.FreqEdit->toolTip(), "Frekvencia v programe");
    EXPECT_EQ(ui.TickRealFreqEdit->toolTip(), "Frekvencia v zariadeni");
    EXPECT_EQ(ui.RatioDownMask->toolTip(), "Zniz nasobic");
    EXPECT_EQ(ui.RatioUpMask->toolTip(), "Zvys nasobic");
    EXPECT_EQ(ui.FreqBEdit->toolTip(), "Nasobic frekvencie (kanal B)");
    EXPECT_EQ(ui.LevelBarB->toolTip(), "Pohybom zmenite uroven");
    EXPECT_EQ(ui.ShiftBarA->toolTip(), "Pohybom zmenite posuv");
    EXPECT_EQ(ui.TriggerLeadBtn->toolTip(), "Spusti na nabeznu hranu");
    EXPECT_EQ(ui.SyncOffBtn->toolTip(), "Vypni generaciu synchronizacnych pulzov");
    EXPECT_EQ(ui.SyncModeSingleBtn->toolTip(), "Nastav jednorazovy rezim");
    EXPECT_EQ(ui.Label9->text(), "Lvl");
    EXPECT_EQ(ui.Label14->text(), "Shift");
    EXPECT_EQ(ui.LinAdvBtn->text(), "Lin | |");
    EXPECT_EQ(ui.Button1->text(), "Edit");
    EXPECT_EQ(ui.ILockLevelBtn->text(), "Lock level");
    EXPECT_TRUE(ui.ILockLevelBtn->isCheckable());
    EXPECT_TRUE(ui.PhaseSetBtn->isCheckable());
}

// Nothing on the window is cut off with the platform's fonts: every caption fits its control
// and every control lies inside its parent.
TEST_F(MainFormLayout, NothingIsClipped) {
    for (QWidget* widget : form.clientArea()->findChildren<QWidget*>()) {
        const std::string name = widget->objectName().toStdString();
        const QRect inParent(QPoint(0, 0), widget->parentWidget()->size());
        EXPECT_TRUE(inParent.contains(widget->geometry())) << name;
        const QFontMetrics metrics(widget->font());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width()) << name;
            EXPECT_LE(metrics.height(), button->height()) << name;
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << name;
            EXPECT_LE(metrics.height(), label->height()) << name;
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(box->title()) + 8, box->width()) << name;
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_LE(metrics.horizontalAdvance(combo->itemText(i)) + 24, combo->width())
                    << name;
        }
    }
}

}  // namespace
