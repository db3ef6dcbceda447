// Both channel panels on the driver library and the virtual instrument: what the operator sets
// is what the instrument decodes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QScrollBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "../device/DeviceRig.h"
#include "VirtualBench.h"
#include "device/LibraryDriverApi.h"
#include "device/VirtualGenerator.h"
#include "panels/ChannelScreen.h"
#include "q745drv.h"
#include "shell/Main.h"
#include "ui_Main.h"
#include "waves/PredefinedWaveforms.h"

namespace {

using q745vi::VirtualBench;

// The stand-ins beside the library, named by their full path (a sanitizer's dlopen searches
// from its own location).
void useStandInsBesideTheLibrary() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&InitHardware), &info) == 0 || info.dli_fname == nullptr)
        return;
    const std::filesystem::path folder = std::filesystem::path(info.dli_fname).parent_path();
    ::setenv("Q745_PORT_DRIVER", (folder / "libkelvoepb.so").c_str(), 0);
    ::setenv("Q745_USB_LIBRARY", (folder / "libkelvousb.so").c_str(), 0);
}

struct InstrumentPanels {
    InstrumentPanels() {
        useStandInsBesideTheLibrary();
        std::string error;
        VirtualBench::process().reconfigure(
            *q745vi::BenchConfiguration::parse("parallel:0", error));
        generator = std::make_unique<TVirtualGenerator>(*device.binding, device.state.modeSource(),
                                                        device.messages);
        resetPredefined(store, 1);
        form = std::make_unique<TMainForm>(device.state, store, device.driver);
        form->attachGenerator(*generator);
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
    ~InstrumentPanels() {
        // The library keeps its channel switches for the process.
        for (int channel = 0; channel < 2; ++channel) {
            device.driver.SetOutput(channel, 1);
            device.driver.SetChannelOn(channel, 1);
        }
    }
    Ui::TMainForm& ui() { return form->controls(); }
    static q745vi::ChannelState channel(int index) {
        return VirtualBench::process().parallelInstrument(0)->state(false).channels.at(
            static_cast<std::size_t>(index));
    }

    DeviceRig<LibraryDriverApi> device{false};
    WaveformStore store;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
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
