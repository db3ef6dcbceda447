// Both channel panels on the driver library and the virtual instrument: what the operator sets
// is what the instrument decodes.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QScrollBar>
#include <QToolButton>

#include "MainWindowOnInstrument.h"
#include "panels/ChannelScreen.h"

namespace {

using q745vi::VirtualBench;

// Both channel panels on the predefined sine at 1 kHz, applied and active.
struct InstrumentPanels : MainWindowOnInstrument {
    InstrumentPanels() {
        for (int channel = 0; channel < 2; ++channel) {
            generator->ChangeWave(channel, store.slots[0]);
            panels[channel] = std::make_unique<TChannelScreen>(
                channel, *generator, TChannelScreen::controlsOf(form->controls(), channel));
            panels[channel]->initialise();
        }
        generator->ChangeMultiplier(1);
        generator->ChangeFrequency(1000);
        for (auto& panel : panels)
            panel->applyAll();
        generator->Activate();
        generator->ApplyMode(false);
    }
    static q745vi::ChannelState channel(int index) {
        return VirtualBench::process().parallelInstrument(0)->state(false).channels.at(
            static_cast<std::size_t>(index));
    }

    std::array<std::unique_ptr<TChannelScreen>, 2> panels;
};

TEST(ChannelOnInstrument, LevelsShiftsOutputsAndFiltersReachTheInstrument) {
    InstrumentPanels rig;
    Ui::TMainForm& ui = rig.ui();
    // The start: 8.4 V peak to peak, no shift, normal path, filter off.
    EXPECT_NEAR(rig.channel(0).amplitudeVolts, 8.4, 0.01);
    EXPECT_NEAR(rig.channel(0).offsetVolts, 0.0, 0.01);
    EXPECT_TRUE(rig.channel(0).normalPath);
    EXPECT_EQ(rig.channel(0).filter, "Off");

    ui.LevelBarA->setValue(4096 - 1000);
    ui.ShiftBarA->setValue(4096 - 3072);
    ui.FilterBoxA->setCurrentIndex(1);
    ui.Output20BtnB->click();
    ui.ExtLevelOnBtnB->click();
    ui.FilterBoxB->setCurrentIndex(0);

    const q745vi::ChannelState a = rig.channel(0);
    EXPECT_NEAR(a.amplitudeVolts, rig.generator->LevelVolts(0, 1000) / 1000.0, 0.01);
    EXPECT_NEAR(a.offsetVolts, 2.0, 0.01);
    EXPECT_EQ(a.filter, "High");
    const q745vi::ChannelState b = rig.channel(1);
    EXPECT_FALSE(b.normalPath);
    EXPECT_TRUE(b.externalLevel);
    EXPECT_EQ(b.filter, "Low");

    // A typed 50 ohm load doubles the open-circuit level so that the terminals keep theirs.
    ui.Load50BtnA->click();
    EXPECT_NEAR(rig.channel(0).amplitudeVolts, 2 * a.amplitudeVolts, 0.01);
    EXPECT_NEAR(rig.channel(0).offsetVolts, 2 * a.offsetVolts, 0.01);
}

TEST(ChannelOnInstrument, AutoFilterTickedAndUntickedLeavesBoxAndInstrumentAlike) {
    InstrumentPanels rig;
    Ui::TMainForm& ui = rig.ui();
    ui.Autofilter1->trigger();
    ui.Autofilter1->trigger();
    for (int channel = 0; channel < 2; ++channel) {
        QComboBox* box = channel == 0 ? ui.FilterBoxA : ui.FilterBoxB;
        EXPECT_EQ(box->currentText().toStdString(), rig.channel(channel).filter) << channel;
    }
}

}  // namespace
