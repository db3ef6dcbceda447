#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <functional>
#include <optional>

#include "../device/FakeDriverApi.h"
#include "../device/FakeSpooler.h"
#include "../waves/TempFolder.h"
#include "RecordingMessages.h"
#include "core/SettingsTranslator.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "shell/Main.h"
#include "shell/MessageBox.h"
#include "shell/Program.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

// The program run in this process on a recording driver, a start directory and a markers
// folder of its own, with the operator's answers scripted; or, with RealBoxes, with message
// boxes shown as the operator sees them (answered with whenModalShown).
class ProgramRig {
public:
    enum Boxes { ScriptedBoxes, RealBoxes };

    explicit ProgramRig(Boxes boxes = ScriptedBoxes) : previousDirectory_(QDir::currentPath()) {
        if (boxes == ScriptedBoxes) responder.emplace(messages);
        driver.initByIndex[{0, 0}] = 1000;
        ::chmod(markers.path().c_str(), 0700);
        QDir::setCurrent(QString::fromStdString(start.path().string()));
    }
    ~ProgramRig() { QDir::setCurrent(previousDirectory_); }
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;

    // The files of a new installation.
    void shipFiles() {
        RecordingMessages quiet;
        writeSettings(start / "Settings.dat", SettingsValues{}, quiet);
        WaveformStore store;
        resetPredefined(store, 1);
        saveStore(store, start.path(), quiet);
        saveMainWave(TDigitalWave{}, start.path(), quiet);
        saveLibrary(MacroLibrary{}, start.path(), quiet);
        ASSERT_TRUE(quiet.calls.empty());
    }

    // Runs the whole program; whileRunning is called once its message loop runs and must end
    // it (closeMainWindow).
    int run(const std::function<void(Program&)>& whileRunning, const QStringList& arguments = {}) {
        Program::Platform platform(driver, spooler);
        platform.markersFolder = markers.path();
        platform.screenSize = screenSize;
        platform.spoolerPollMs = 10;
        platform.askProfileName = [this](QWidget*, const QString& folder, bool save) {
            profileRequests.push_back({folder.toStdString(), save});
            return QString::fromStdString(profileAnswer);
        };
        Program program(platform);
        // The start-up processes events itself: wait for its message loop.
        QTimer loopStarted;
        QObject::connect(&loopStarted, &QTimer::timeout, [&] {
            if (!program.state().appReady || !mainForm() || !mainForm()->isVisible()) return;
            loopStarted.stop();
            whileRunning(program);
            if (mainForm() != nullptr && mainForm()->isVisible()) closeMainWindow();
        });
        loopStarted.start(5);
        return program.run(arguments);
    }

    static TMainForm* mainForm() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* form = qobject_cast<TMainForm*>(window)) return form;
        }
        return nullptr;
    }
    // The operator closes the main window and confirms.
    void closeMainWindow() {
        messages.answers.push_back(MessageResult::Yes);
        mainForm()->close();
    }

    std::vector<std::string> callsNamed(const std::string& name) const {
        return driver.callsNamed(name);
    }

    TempFolder start;
    TempFolder markers;
    FakeDriverApi driver;
    FakeSpooler spooler;
    QSize screenSize{1024, 768};
    // The profile dialogs: what they were asked (folder, save) and the file name they answer
    // (empty: cancelled).
    std::vector<std::pair<std::string, bool>> profileRequests;
    std::string profileAnswer;
    RecordingMessages messages;
    std::optional<ScopedMessageResponder> responder;

private:
    QString previousDirectory_;
};
