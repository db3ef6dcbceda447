#pragma once

#include <memory>
#include <string>

#include "../device/DeviceRig.h"
#include "../device/StandInsBesideTheLibrary.h"
#include "VirtualBench.h"
#include "device/LibraryDriverApi.h"
#include "device/VirtualGenerator.h"
#include "shell/Main.h"
#include "ui_Main.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

// The main window's controls and the generator model on the driver library and the virtual
// instrument at parallel address 0, with the predefined waveforms. The generator is not active
// yet, so that a test can give it its channels first.
struct MainWindowOnInstrument {
    MainWindowOnInstrument() {
        useStandInsBesideTheLibrary();
        std::string error;
        q745vi::VirtualBench::process().reconfigure(
            *q745vi::BenchConfiguration::parse("parallel:0", error));
        generator = std::make_unique<TVirtualGenerator>(*device.binding, device.state.modeSource(),
                                                        device.messages);
        resetPredefined(store, 1);
        form = std::make_unique<TMainForm>(device.state, store, device.driver);
        form->attachGenerator(*generator);
    }
    ~MainWindowOnInstrument() {
        // The library keeps its channel switches for the process.
        for (int channel = 0; channel < 2; ++channel) {
            device.driver.SetOutput(channel, 1);
            device.driver.SetChannelOn(channel, 1);
        }
    }
    MainWindowOnInstrument(const MainWindowOnInstrument&) = delete;
    MainWindowOnInstrument& operator=(const MainWindowOnInstrument&) = delete;

    Ui::TMainForm& ui() { return form->controls(); }

    DeviceRig<LibraryDriverApi> device{false};
    WaveformStore store;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
};
