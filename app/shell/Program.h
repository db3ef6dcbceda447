#pragma once

#include <QSize>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/AppState.h"
#include "shell/DialogMessages.h"
#include "platform/InstanceMarkers.h"
#include "shell/MessageBox.h"
#include "core/UnattendedMessages.h"
#include "digital/DigitalWave.h"
#include "waves/WaveformStore.h"
#include "UpdateServer.h"

class ActivationChannel;
class DigitalEditing;
class DriverApi;
class ImportCommands;
class PrintSpooler;
class PrinterSharing;
class Profiles;
class ProgramModules;
class ProgressWindow;
class ScriptedMessages;
class SettingsBinding;
class TFreqScreen;
class TMainForm;
class TProgressForm;
class TChannelScreen;
class TSplashForm;
class TTrgScreen;
class TUpdateObject;
class TWaveScreen;
class TVirtualGenerator;
class TDigitalControl;
class TDigitalWaveScreen;
class TerminationSignal;
class VirtualDriver;
class WaveformWindows;

// The program from its start to its end: makes sure one copy runs, builds every object of the
// run in order while the splash names the stages, brings the instrument into the stored state
// mode by mode, runs the message loop, and at the end saves the settings and the waveform store
// and gives the parallel port back.
class Program : public QObject {
public:
    // What the program uses of the platform; tests put their own in place.
    struct Platform {
        Platform(DriverApi& driverApi, PrintSpooler& printSpooler)
            : driver(driverApi), spooler(printSpooler) {}

        DriverApi& driver;
        PrintSpooler& spooler;
        std::filesystem::path markersFolder = InstanceMarkers::defaultFolder();
        // Empty: the primary screen's.
        QSize screenSize;
        int spoolerPollMs = 2000;
        // Where the update check finds the maker's server.
        std::string updateServer = DefaultUpdateServer;
        // Set for tests of the whole program (Q745_TEST_LOG).
        ScriptedMessages* testLog = nullptr;
        // Asks for a profile's file name; empty: the file dialogs.
        std::function<QString(QWidget* parent, const QString& folder, bool save)> askProfileName;
    };

    explicit Program(Platform platform);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The whole run; arguments without the program name. Returns the exit code.
    int run(const QStringList& arguments);

    AppState& state() { return state_; }

private:
    // Start-up, in its order; false when this copy must end at once (another one runs).
    bool singleCopy();
    void start(const QStringList& arguments);
    void buildAnalogMode();
    void buildDigitalMode();
    void buildImportMode();
    void showChosenSlots();
    void reloadAfterProfile();
    void startModes();
    void shutDown();
    void freeObjects();

    void showStage(const char* text);
    void note(const std::string& event);
    void pollSpooler();
    void endSession();
    void endForInstaller();

    Platform platform_;
    AppState state_;
    DialogMessages messages_;
    InstanceMarkers markers_;
    std::unique_ptr<ActivationChannel> activation_;
    std::unique_ptr<TerminationSignal> termination_;
    std::unique_ptr<PrinterSharing> printerSharing_;
    QTimer spoolerTimer_;

    WaveformStore store_;
    TDigitalWave mainWave_;

    // The panels exist from the start so that the settings can refer to them; the start-up
    // hands them their controls.
    std::unique_ptr<TFreqScreen> analogFrequency_;
    std::unique_ptr<TFreqScreen> digitalFrequency_;
    std::unique_ptr<TFreqScreen> importFrequency_;
    std::unique_ptr<TTrgScreen> trigger_;

    std::unique_ptr<TSplashForm> splash_;
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TProgressForm> progressForm_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<VirtualDriver> virtualDriver_;
    std::unique_ptr<TVirtualGenerator> generator_;
    std::unique_ptr<SettingsBinding> settings_;
    std::unique_ptr<Profiles> profiles_;
    std::unique_ptr<TUpdateObject> updateObject_;
    std::unique_ptr<ProgramModules> modules_;
    // The gallery, its editors and the data view.
    std::unique_ptr<WaveformWindows> waveformWindows_;
    // The waveform displays of analog mode (A follows B for the phase) and of import mode.
    std::unique_ptr<TWaveScreen> waveA_;
    std::unique_ptr<TWaveScreen> waveB_;
    std::unique_ptr<TWaveScreen> importWaveA_;
    std::unique_ptr<TWaveScreen> importWaveB_;
    std::unique_ptr<TDigitalWaveScreen> digitalDisplay_;
    std::unique_ptr<TDigitalControl> digitalControl_;
    std::unique_ptr<DigitalEditing> digitalEditing_;
    std::unique_ptr<TChannelScreen> channelA_;
    std::unique_ptr<TChannelScreen> channelB_;
    std::unique_ptr<ImportCommands> importCommands_;

    bool sessionEnding_ = false;
    UnattendedMessages unattendedMessages_;
    std::unique_ptr<ScopedMessageResponder> unattended_;
};
