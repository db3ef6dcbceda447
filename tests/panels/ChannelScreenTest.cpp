// The channel panel on the main window's controls, driven as an operator drives them.
#include "panels/ChannelScreen.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include "../device/DeviceRig.h"
#include "device/VirtualGenerator.h"
#include "shell/Main.h"
#include "ui_Main.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"

namespace {

// Channel A's panel on the predefined sine, applied and active.
struct PanelRig {
    PanelRig() {
        device.driver.initByIndex[{0, 0}] = 1000;
        generator = std::make_unique<TVirtualGenerator>(*device.binding, device.state.modeSource(),
                                                        device.messages);
        resetPredefined(store, 1);
        form = std::make_unique<TMainForm>(device.state, store, device.driver);
        form->attachGenerator(*generator);
        generator->ChangeWave(0, store.slots[0]);
        panel =
            std::make_unique<TChannelScreen>(0, *generator, TChannelScreen::controlsOf(ui(), 0));
        panel->initialise();
        panel->applyAll();
        generator->Activate();
    }
    Ui::TMainForm& ui() { return form->controls(); }
    std::string text(QLineEdit* edit) { return edit->text().toStdString(); }
    void enter(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    int levelCode() { return 4096 - ui().LevelBarA->value(); }
    int shiftCode() { return 4096 - ui().ShiftBarA->value(); }

    DeviceRig<> device{false};
    WaveformStore store;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TChannelScreen> panel;
};

TEST(ChannelScreen, SineAtCode2048ReadsEightPointFourVolts) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    EXPECT_EQ(rig.text(ui.VppEditA), "8.4V");
    EXPECT_EQ(rig.text(ui.VpEditA), "4.2V");
    EXPECT_EQ(rig.text(ui.ShiftEditA), "0V");
    EXPECT_EQ(rig.text(ui.VRmsEditA), "");      // its toggle is up
    EXPECT_EQ(rig.text(ui.LevelEditA), "N/A");  // dBW needs a load
    EXPECT_EQ(rig.text(ui.dBEditA), "0");
    ui.VpMinusBtnA->click();
    ui.VRmsBtnA->click();
    ui.LevelUnitsBoxA->setCurrentIndex(2);
    EXPECT_EQ(rig.text(ui.VpEditA), "-4.2V");
    EXPECT_EQ(rig.text(ui.VRmsEditA), "2.97V");
    EXPECT_EQ(rig.text(ui.LevelEditA), "69");
    EXPECT_FALSE(ui.VRmsEditA->isEnabled());

    // "-20" by hand keeps the level code: everything drops to a tenth.
    ui.Output20BtnA->click();
    EXPECT_EQ(rig.generator->outputState(0), 2);
    EXPECT_EQ(rig.levelCode(), 2048);
    EXPECT_EQ(rig.text(ui.VppEditA), "840mV");
    EXPECT_EQ(rig.text(ui.VpEditA), "-420mV");
}

TEST(ChannelScreen, LevelEntriesChooseTheAttenuator) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    ui.OutputOffBtnA->click();
    rig.enter(ui.VppEditA, "1");
    EXPECT_TRUE(ui.Output20BtnA->isChecked());
    EXPECT_EQ(rig.generator->outputState(0), 2);
    EXPECT_EQ(rig.levelCode(), 2479);
    EXPECT_EQ(rig.generator->level(0), 2479);
    EXPECT_EQ(rig.text(ui.VppEditA), "999.9mV");  // the nearest code
    EXPECT_EQ(ui.VppEditA->selectedText(), ui.VppEditA->text());

    // A typed dB level against a fixed reference of 8.4 V.
    ui.ManualDBBtnA->click();
    rig.panel->setDbReference(8400);
    rig.enter(ui.dBEditA, "-6");
    EXPECT_TRUE(ui.Output0BtnA->isChecked());
    EXPECT_EQ(rig.text(ui.dBEditA), "-6");
    rig.enter(ui.dBEditA, "-20");
    EXPECT_TRUE(ui.Output20BtnA->isChecked());
    EXPECT_EQ(rig.levelCode(), 2048);
    EXPECT_EQ(rig.text(ui.dBEditA), "-20");
    rig.enter(ui.dBEditA, "louder");  // ignored
    EXPECT_EQ(rig.levelCode(), 2048);

    // "Auto dB" follows the level.
    ui.AutoDBBtnA->click();
    ui.LevelBarA->setValue(100);
    EXPECT_EQ(rig.text(ui.dBEditA), "0");
}

TEST(ChannelScreen, LoadChangeKeepsTheOutputVoltages) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    ui.LevelBarA->setValue(4096 - 323);
    ui.ShiftBarA->setValue(4096 - 2560);  // +1 V
    const QString vpp = ui.VppEditA->text();
    const QString shift = ui.ShiftEditA->text();
    ui.Load50BtnA->click();
    EXPECT_EQ(rig.levelCode(), 862);
    EXPECT_EQ(rig.shiftCode(), 3072);
    EXPECT_EQ(rig.generator->load(0), 50);
    EXPECT_EQ(rig.generator->level(0), 862);
    EXPECT_EQ(ui.VppEditA->text(), vpp);
    EXPECT_EQ(ui.ShiftEditA->text(), shift);
    EXPECT_EQ(rig.text(ui.LoadEditA), "50");

    rig.enter(ui.LoadEditA, "600");
    EXPECT_FALSE(ui.LoadOpenBtnA->isChecked());
    EXPECT_FALSE(ui.Load50BtnA->isChecked());
    EXPECT_EQ(rig.panel->load(), 600);
    rig.enter(ui.LoadEditA, "-5");  // not a load: shown as it was
    EXPECT_EQ(rig.text(ui.LoadEditA), "600");
    rig.enter(ui.LoadEditA, "OPEN");
    EXPECT_TRUE(ui.LoadOpenBtnA->isChecked());
    EXPECT_EQ(rig.levelCode(), 323);
    EXPECT_EQ(ui.VppEditA->text(), vpp);
}

TEST(ChannelScreen, FlatWaveformHasNoLevelToEnter) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    WaveformRecord flat;
    flat.points.assign(16384, 128);
    computeStatistics(flat);
    rig.generator->ChangeWave(0, flat);
    rig.panel->refresh();
    EXPECT_EQ(rig.text(ui.dBEditA), "N/A");
    EXPECT_FALSE(ui.dBEditA->isEnabled());
    EXPECT_FALSE(ui.VppEditA->isEnabled());
    EXPECT_TRUE(ui.VpEditA->isEnabled());
}

TEST(ChannelScreen, ShiftStepsAndContinuousAndTheWarnings) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    const QColor normal = ui.Label11->palette().color(QPalette::WindowText);
    ui.StepShiftBtnA->click();
    ui.ShiftBarA->setValue(0);  // +4 V in the program only
    EXPECT_EQ(rig.text(ui.ShiftEditA), "4V");
    EXPECT_EQ(rig.text(ui.ShiftOutEditA), "0V");
    EXPECT_EQ(rig.generator->shift(0), 2048);
    ui.ShiftOutBtnA->click();
    EXPECT_EQ(rig.generator->shift(0), 4096);
    EXPECT_EQ(ui.Label11->palette().color(QPalette::WindowText), QColor(Qt::red));  // 8.2 V
    ui.ShiftNullBtnA->click();
    EXPECT_EQ(rig.generator->shift(0), 2048);
    EXPECT_EQ(rig.text(ui.ShiftEditA), "4V");
    EXPECT_EQ(ui.Label11->palette().color(QPalette::WindowText), normal);
    ui.ConShiftBtnA->click();
    EXPECT_EQ(rig.generator->shift(0), 4096);

    // Vp typed: the shift moves so that the positive peak reads 1 V.
    rig.enter(ui.VpEditA, "1V");
    EXPECT_EQ(rig.shiftCode(), 410);  // -3.2 V
    EXPECT_EQ(rig.generator->shift(0), 410);
    EXPECT_EQ(rig.text(ui.VpEditA), "1.001V");

    ui.LevelBarA->setValue(4096);  // 800 mV full scale
    EXPECT_EQ(ui.Label9->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(ChannelScreen, BarsFollowTheWheelAndTheirArrows) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    rig.form->show();
    QScrollBar* bar = ui.LevelBarA;
    const QPoint middle(bar->width() / 2, bar->height() / 2);
    QWheelEvent up(middle, bar->mapToGlobal(middle), {}, QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &up);
    EXPECT_GT(rig.levelCode(), 2048);
    EXPECT_EQ(rig.generator->level(0), rig.levelCode());
    const int before = rig.levelCode();
    QTest::mouseClick(ui.ShiftBarA, Qt::LeftButton, {}, QPoint(ui.ShiftBarA->width() / 2, 4));
    EXPECT_EQ(rig.shiftCode(), 2049);
    EXPECT_EQ(rig.generator->shift(0), 2049);
    EXPECT_EQ(rig.levelCode(), before);
}

TEST(ChannelScreen, FilterAndExternalLevelReachTheGenerator) {
    PanelRig rig;
    Ui::TMainForm& ui = rig.ui();
    EXPECT_EQ(rig.generator->filter(0), 2);
    ui.FilterBoxA->setCurrentIndex(1);
    EXPECT_EQ(rig.generator->filter(0), 1);
    ui.ExtLevelOnBtnA->click();
    EXPECT_EQ(rig.generator->externalLevel(0), 1);
    // The automatic filter writes the box; the panel passes it on.
    rig.generator->ChangeFrequency(1000);
    ui.Autofilter1->trigger();
    EXPECT_EQ(ui.FilterBoxA->currentIndex(), 0);
    EXPECT_EQ(rig.generator->filter(0), 0);
    ui.Autofilter1->trigger();
    EXPECT_EQ(rig.generator->filter(0), ui.FilterBoxA->currentIndex());
}

}  // namespace
