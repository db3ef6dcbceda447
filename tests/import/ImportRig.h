#pragma once

#include <dlfcn.h>

#include <QCoreApplication>
#include <QTest>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../device/DeviceRig.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "VirtualBench.h"
#include "device/LibraryDriverApi.h"
#include "device/VirtualGenerator.h"
#include "import/ImportCommands.h"
#include "panels/ChannelScreen.h"
#include "panels/FreqScreen.h"
#include "panels/WaveScreen.h"
#include "q745drv.h"
#include "shell/Main.h"
#include "shell/MessageBox.h"
#include "shell/ProgressScreen.h"
#include "shell/ProgressWindow.h"
#include "ui_Main.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

// Import mode as the program builds it, on the driver library and the virtual instrument: the
// main window's controls with both channel panels, the import tick-frequency panel, the import
// displays, the progress window and the import commands. The file dialog answers with `file`;
// message boxes are recorded in `messages`.
struct ImportRig {
    ImportRig() {
        useStandInsBesideTheLibrary();
        std::string error;
        q745vi::VirtualBench::process().reconfigure(
            *q745vi::BenchConfiguration::parse("parallel:0", error));
        device = std::make_unique<DeviceRig<LibraryDriverApi>>(false);
        generator = std::make_unique<TVirtualGenerator>(
            *device->binding, device->state.modeSource(), device->messages);
        resetPredefined(store, 1);
        form = std::make_unique<TMainForm>(device->state, store, device->driver);
        form->attachGenerator(*generator);
        device->state.currentMode = ModeImport;
        copyRecord(store.slots[0], store.importedA);
        copyRecord(store.slots[1], store.importedB);
        generator->ChangeWave(0, store.importedA);
        generator->ChangeWave(1, store.importedB);
        Ui::TMainForm& ui = form->controls();
        for (int c = 0; c < 2; ++c) {
            channels[c] =
                std::make_unique<TChannelScreen>(c, *generator, TChannelScreen::controlsOf(ui, c));
            channels[c]->initialise();
            displays[c] = std::make_unique<TWaveScreen>();
            displays[c]->bind(c == 0 ? *ui.ImportedWaveImageA : *ui.ImportedWaveImageB);
            displays[c]->setRecord(c == 0 ? store.importedA : store.importedB);
        }
        tick.attach(*generator, ModeImport, TFreqScreen::importTickControls(ui));
        for (auto& channel : channels)
            channel->applyAll();
        generator->Activate();
        generator->ApplyMode(false);
        commands = std::make_unique<ImportCommands>(ImportCommands::Parts{
            device->state,
            store,
            *generator,
            *form,
            {channels[0].get(), channels[1].get()},
            tick,
            {displays[0].get(), displays[1].get()},
            progress,
            messages,
        });
        commands->setFileNameAsker(
            [this](QWidget*, const QString& title, const QString&, const QString&) {
                dialogTitles.push_back(title.toStdString());
                return QString::fromStdString(file.string());
            });
    }
    ~ImportRig() {
        // The library keeps its channel switches for the process.
        for (int channel = 0; channel < 2; ++channel) {
            device->driver.SetOutput(channel, 1);
            device->driver.SetChannelOn(channel, 1);
        }
    }

    Ui::TMainForm& ui() { return form->controls(); }
    // What the instrument plays on a channel, with the points.
    static q745vi::ChannelState played(int channel) {
        return q745vi::VirtualBench::process().parallelInstrument(0)->state(true).channels.at(
            static_cast<std::size_t>(channel));
    }
    static double sampleClock() {
        return q745vi::VirtualBench::process().parallelInstrument(0)->state(false).sampleClockHz;
    }

    // Runs a command whose dialogs `operate` acts on (it is handed each modal window in turn
    // and returns whether another one is to come).
    template <class Form>
    static void onModal(std::function<void(Form&)> operate) {
        whenModalShown([operate](QWidget* modal) {
            auto* form = qobject_cast<Form*>(modal);
            ASSERT_NE(form, nullptr) << modal->metaObject()->className();
            operate(*form);
        });
    }

    static void useStandInsBesideTheLibrary() {
        Dl_info info{};
        if (::dladdr(reinterpret_cast<void*>(&InitHardware), &info) == 0 ||
            info.dli_fname == nullptr)
            return;
        const std::filesystem::path folder = std::filesystem::path(info.dli_fname).parent_path();
        ::setenv("Q745_PORT_DRIVER", (folder / "libkelvoepb.so").c_str(), 0);
        ::setenv("Q745_USB_LIBRARY", (folder / "libkelvousb.so").c_str(), 0);
    }

    RecordingMessages messages;
    ScopedMessageResponder responder{messages};
    std::unique_ptr<DeviceRig<LibraryDriverApi>> device;
    WaveformStore store;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
    std::array<std::unique_ptr<TChannelScreen>, 2> channels;
    std::array<std::unique_ptr<TWaveScreen>, 2> displays;
    TFreqScreen tick{TFreqScreen::TickMinFrequency, TFreqScreen::TickMaxFrequency, true};
    TProgressForm progressForm;
    ProgressWindow progress{progressForm};
    std::unique_ptr<ImportCommands> commands;
    std::filesystem::path file;
    std::vector<std::string> dialogTitles;
};
