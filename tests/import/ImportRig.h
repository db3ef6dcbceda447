#pragma once

#include <QCoreApplication>
#include <QTest>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../panels/MainWindowOnInstrument.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "import/ImportCommands.h"
#include "panels/ChannelScreen.h"
#include "panels/FreqScreen.h"
#include "panels/WaveScreen.h"
#include "shell/MessageBox.h"
#include "shell/ProgressScreen.h"
#include "shell/ProgressWindow.h"

// Import mode as the program builds it, on the driver library and the virtual instrument: the
// main window's controls with both channel panels, the import tick-frequency panel, the import
// displays, the progress window and the import commands. The file dialog answers with `file`;
// message boxes are recorded in `messages`.
struct ImportRig : MainWindowOnInstrument {
    ImportRig() {
        device.state.currentMode = ModeImport;
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
            device.state,
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
    // What the instrument plays on a channel, with the points.
    static q745vi::ChannelState played(int channel) {
        return q745vi::VirtualBench::process().parallelInstrument(0)->state(true).channels.at(
            static_cast<std::size_t>(channel));
    }
    static double sampleClock() {
        return q745vi::VirtualBench::process().parallelInstrument(0)->state(false).sampleClockHz;
    }

    // `operate` acts on the next modal window of class Form, once the operator could.
    template <class Form>
    static void onModal(std::function<void(Form&)> operate) {
        whenModalShownOf<Form>(std::move(operate));
    }

    RecordingMessages messages;
    ScopedMessageResponder responder{messages};
    std::array<std::unique_ptr<TChannelScreen>, 2> channels;
    std::array<std::unique_ptr<TWaveScreen>, 2> displays;
    TFreqScreen tick{TFreqScreen::TickMinFrequency, TFreqScreen::TickMaxFrequency, true};
    TProgressForm progressForm;
    ProgressWindow progress{progressForm};
    std::unique_ptr<ImportCommands> commands;
    std::filesystem::path file;
    std::vector<std::string> dialogTitles;
};
