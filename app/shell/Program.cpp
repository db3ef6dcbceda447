#include "shell/Program.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <clocale>

#include "platform/ActivationChannel.h"
#include "shell/Main.h"
#include "shell/MainWindowModules.h"
#include "shell/MessageBox.h"
#include "shell/Profiles.h"
#include "ProgramVersion.h"
#include "shell/ProgressScreen.h"
#include "shell/ProgressWindow.h"
#include "core/ScriptedMessages.h"
#include "shell/SettingsBinding.h"
#include "shell/SplashScreen.h"
#include "platform/TerminationSignal.h"
#include "device/DriverApi.h"
#include "device/PrinterSharing.h"
#include "device/VirtualDriver.h"
#include "device/VirtualGenerator.h"
#include "device/CommSettings.h"
#include "digital/DigitalControl.h"
#include "digital/DigitalEditing.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/MainWaveFile.h"
#include "import/ImportCommands.h"
#include "panels/ChannelScreen.h"
#include "panels/FreqScreen.h"
#include "panels/TrgScreen.h"
#include "panels/WaveScreen.h"
#include "ui_Main.h"
#include "update/HttpClient.h"
#include "update/UpdateObject.h"
#include "waves/WaveformWindows.h"

// The windows of other parts that the main window opens. The profiles, the communication
// dialog and the update object are here; the gallery, data view, editors and import dialogs
// plug in here as they are built.
class ProgramModules final : public MainWindowModules {
public:
    ProgramModules(Profiles& profiles, DriverApi& driver, const VirtualDriver& device,
                   TUpdateObject* updates)
        : profiles_(profiles), driver_(driver), device_(device), updates_(updates) {}
    void openProfile() override { profiles_.openProfile(QApplication::activeWindow()); }
    void saveProfile() override { profiles_.saveProfile(QApplication::activeWindow()); }
    bool editDigitalWave(QWidget* owner) override {
        return digitalEditing != nullptr && digitalEditing->edit(owner);
    }

    DigitalEditing* digitalEditing = nullptr;

    bool importFromScope(QWidget* owner) override {
        return importCommands != nullptr && importCommands->importFromScope(owner);
    }
    bool importFromAscii(QWidget* owner) override {
        return importCommands != nullptr && importCommands->importFromAscii(owner);
    }
    ImportCommands* importCommands = nullptr;

    std::optional<CommunicationValues> editCommunication(const CommunicationValues& current,
                                                         QWidget* owner) override {
        DeviceSettings configured;
        configured.baseAddressIndex = current.baseAddressIndex;
        configured.portAddress = current.portAddress;
        configured.useUsb = current.useUsb;
        TCommSettingsForm form(driver_, configured, device_.interfaceInUse(), owner);
        if (form.exec() != QDialog::Accepted) return std::nullopt;
        const DeviceSettings chosen = form.chosen();
        return CommunicationValues{chosen.baseAddressIndex, chosen.portAddress, chosen.useUsb};
    }

    void checkForUpdates() override {
        if (updates_) updates_->checkForUpdates();
    }
    void downloadUpdate() override {
        if (updates_) updates_->downloadUpdate();
    }
    void internetSettings() override {
        if (updates_) updates_->internetSettings();
    }

    std::optional<GalleryChoice> selectWave(const GalleryRequest& request,
                                            QWidget* owner) override {
        return waveforms ? waveforms->selectWave(request, owner) : std::nullopt;
    }
    void openDataView(QPoint screenPosition) override {
        if (waveforms) waveforms->openDataView(screenPosition);
    }
    void setDataViewVisible(bool visible) override {
        if (waveforms) waveforms->setDataViewVisible(visible);
    }
    void refreshDataView() override {
        if (waveforms) waveforms->refreshDataView();
    }

    WaveformWindows* waveforms = nullptr;

private:
    Profiles& profiles_;
    DriverApi& driver_;
    const VirtualDriver& device_;
    TUpdateObject* updates_;
};

namespace {

constexpr const char* SettingsFileName = "Settings.dat";
constexpr int HintDurationMs = 6000;
constexpr const char* SmallScreenWarning =
    "Vase rozlisenie je prilis male.\r\nDoporucujeme Vam, aby ste zmenili rozlisenie na "
    "800x600.\r\nProgram sa spusti v specialnom rezime podporujucom 640x480.";

constexpr QRgb ChannelAColor = qRgb(0, 255, 0);
constexpr QRgb ChannelBColor = qRgb(255, 255, 0);

// A waveform display of the main window: all four measurement cursors and the zero line.
std::unique_ptr<TWaveScreen> mainWindowDisplay(TPictureBox& picture, QRgb color) {
    auto display = std::make_unique<TWaveScreen>();
    display->bind(picture);
    display->setTraceColor(color);
    display->setAllCursorsEnabled(true);
    display->setZeroLineShown(true);
    return display;
}

}  // namespace

Program::Program(Platform platform)
    : platform_(std::move(platform)),
      markers_(platform_.markersFolder),
      analogFrequency_(std::make_unique<TFreqScreen>(TFreqScreen::AnalogMinFrequency,
                                                     TFreqScreen::AnalogMaxFrequency, false)),
      digitalFrequency_(std::make_unique<TFreqScreen>(TFreqScreen::TickMinFrequency,
                                                      TFreqScreen::TickMaxFrequency, true)),
      importFrequency_(std::make_unique<TFreqScreen>(TFreqScreen::TickMinFrequency,
                                                     TFreqScreen::TickMaxFrequency, true)),
      trigger_(std::make_unique<TTrgScreen>()) {}

Program::~Program() {
    freeObjects();
    splash_.reset();
}

// In the order of the shut-down: panels, generator model, main window.
void Program::freeObjects() {
    if (mainForm_) {
        mainForm_->setAnalogDisplays(nullptr, nullptr);
        mainForm_->setImportDisplays(nullptr, nullptr);
        mainForm_->setDigitalDisplay(nullptr);
        mainForm_->setChannelPanels(nullptr, nullptr);
    }
    if (settings_) {
        settings_->setChannelPanels(nullptr, nullptr);
        settings_->setWaveDisplayB(nullptr);
    }
    if (modules_) modules_->importCommands = nullptr;
    importCommands_.reset();
    channelA_.reset();
    channelB_.reset();
    waveA_.reset();
    waveB_.reset();
    importWaveA_.reset();
    importWaveB_.reset();
    digitalEditing_.reset();
    digitalControl_.reset();
    digitalDisplay_.reset();
    waveformWindows_.reset();
    modules_.reset();
    updateObject_.reset();
    profiles_.reset();
    settings_.reset();
    analogFrequency_.reset();
    trigger_.reset();
    digitalFrequency_.reset();
    importFrequency_.reset();
    generator_.reset();
    virtualDriver_.reset();
    progress_.reset();
    progressForm_.reset();
    mainForm_.reset();
}

int Program::run(const QStringList& arguments) {
    if (!singleCopy()) return 0;
    start(arguments);
    if (!virtualDriver_->terminateRequested() && !sessionEnding_) {
        mainForm_->show();
        note("main window shown");
        QApplication::exec();
    }
    shutDown();
    return 0;
}

void Program::note(const std::string& event) {
    if (platform_.testLog) platform_.testLog->note(event);
}

void Program::showStage(const char* text) {
    splash_->showSplashStatus(text);
}

bool Program::singleCopy() {
    activation_ = std::make_unique<ActivationChannel>(
        QString::fromStdString((platform_.markersFolder / ActivationChannel::ServerName).string()));
    const bool windowFound = activation_->runningCopyListens();
    const bool markerExisted = !markers_.takeInstanceMarker();
    if (windowFound && markerExisted) {
        activation_->requestActivation();
        note("activated the running copy");
        return false;
    }
    return true;
}

void Program::start(const QStringList& arguments) {
    // The decimal point is "." for the whole run, whatever the operator's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    splash_ = std::make_unique<TSplashForm>();
    splash_->show();
    showStage("Initializing ...");

    markers_.takeSlotMarker();
    if (!arguments.isEmpty() && arguments.constFirst().toLower() == "debug")
        state_.debugMode = true;

    std::string server = platform_.updateServer;
    while (!server.empty() && server.back() == '/')
        server.pop_back();
    state_.updateListLocation = server + "/products/q745/update/q745" +
                                std::string(1, platform_.driver.GetVersionCode()) + "S.txt";
    state_.startDirectory = QDir::currentPath().toStdString();
    state_.programVersion = ProgramFileVersion;
    QSize screen = platform_.screenSize;
    if (screen.isEmpty() && QGuiApplication::primaryScreen())
        screen = QGuiApplication::primaryScreen()->size();
    state_.smallScreenMode = screen.width() < 800 || screen.height() < 600;

    mainForm_ = std::make_unique<TMainForm>(state_, store_, platform_.driver);
    progressForm_ = std::make_unique<TProgressForm>(mainForm_.get());
    progress_ = std::make_unique<ProgressWindow>(*progressForm_);
    for (QWidget* control : mainForm_->findChildren<QWidget*>())
        control->setToolTipDuration(HintDurationMs);
    if (activation_->listen())
        QObject::connect(activation_.get(), &ActivationChannel::activationRequested,
                         mainForm_.get(), [this] {
                             note("activation request");
                             mainForm_->activateFromAnotherCopy();
                         });
    // The message loop runs until the main window closes, whatever other windows are open (its
    // "Hide" buttons hide it without a close). The window says so once its close is decided,
    // after the exit question's own event loop.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(mainForm_.get(), &TMainForm::closed, this, [] { QApplication::exit(0); });
    termination_ = std::make_unique<TerminationSignal>();
    QObject::connect(termination_.get(), &TerminationSignal::terminationRequested, mainForm_.get(),
                     [this] { endSession(); });

    if (state_.smallScreenMode) {
        mainForm_->useSmallScreenLayout();
        messages_.warning(SmallScreenWarning);
    }

    settings_ = std::make_unique<SettingsBinding>(SettingsBinding::Objects{
        state_,
        *mainForm_,
        nullptr,
        store_,
        {analogFrequency_.get(), digitalFrequency_.get(), importFrequency_.get()},
        *trigger_,
    });
    showStage("Loading settings ...");
    settings_->read(SettingsFileName, true, messages_);

    state_.selectPortName(false);
    printerSharing_ = std::make_unique<PrinterSharing>(platform_.spooler, platform_.driver, state_);
    printerSharing_->countPrinterJobs();

    showStage("Initializing device ...");
    virtualDriver_ = std::make_unique<VirtualDriver>(platform_.driver, state_, state_.modeSource(),
                                                     messages_, *printerSharing_, state_.debugMode);
    generator_ =
        std::make_unique<TVirtualGenerator>(*virtualDriver_, state_.modeSource(), messages_);
    mainForm_->attachGenerator(*generator_);
    if (virtualDriver_->demoMode()) mainForm_->showDemoMode();
    settings_->setGenerator(*generator_);

    showStage("Creating application environment ...");
    try {
        // The main window owns the HTTP client.
        auto* http = new HttpClient(mainForm_.get());
        updateObject_ = std::make_unique<TUpdateObject>(*http, state_, messages_, mainForm_.get());
        updateObject_->setProgramEnder([this] { endForInstaller(); });
    } catch (const std::exception&) {
        updateObject_.reset();
        mainForm_->disableUpdates();
    }
    profiles_ = std::make_unique<Profiles>(state_, *settings_, *generator_, *virtualDriver_, store_,
                                           messages_);
    if (platform_.askProfileName) profiles_->setFileNameAsker(platform_.askProfileName);
    profiles_->setSentHandler([this] { trigger_->applyAll(); });
    profiles_->setReloadHandler([this] { reloadAfterProfile(); });
    modules_ = std::make_unique<ProgramModules>(*profiles_, platform_.driver, *virtualDriver_,
                                                updateObject_.get());
    mainForm_->setModules(modules_.get());
    waveformWindows_ = std::make_unique<WaveformWindows>(state_, store_, *generator_,
                                                         programWaveformEditors(), mainForm_.get());
    modules_->waveforms = waveformWindows_.get();

    buildAnalogMode();
    buildDigitalMode();
    buildImportMode();

    mainForm_->setMode(ModeAnalog);
    channelA_->initialise();
    channelB_->initialise();
    settings_->read(SettingsFileName, false, messages_);
    state_.settingsLoaded = true;
    mainForm_->setMode(state_.startMode);
    mainForm_->applyModeLevels();

    showStage("Starting application environment ...");
    startModes();

    generator_->Activate();
    state_.pushMode(ModeAnalog);
    generator_->ApplyMode(true);
    state_.popMode();
    state_.pushMode(ModeDigital);
    generator_->ApplyMode(true);
    trigger_->applyAll();
    state_.popMode();

    if (state_.startMode == ModeAnalog || state_.startMode == ModeImport)
        mainForm_->applyModeLevels();
    generator_->ApplyMode(false);
    digitalControl_->sendVoltage();
    note("mode " + std::to_string(state_.currentMode) + " applied");

    state_.appReady = true;
    mainForm_->WaveScreenCursorMove();
    mainForm_->ImportedWaveScreenCursorMove();
    splash_->close();
    splash_.reset();
    state_.selectPortName(true);

    QObject::connect(&spoolerTimer_, &QTimer::timeout, mainForm_.get(), [this] { pollSpooler(); });
    spoolerTimer_.start(platform_.spoolerPollMs);
}

// Analog mode: the waveform store and the objects of the analog panels: the frequency and
// trigger panels, the two waveform displays and the two channel panels.
void Program::buildAnalogMode() {
    mainForm_->setMode(ModeAnalog);
    clearRecord(store_.importedA);
    clearRecord(store_.importedB);
    loadStore(store_, state_.startDirectory, messages_);
    Ui::TMainForm& ui = mainForm_->controls();
    analogFrequency_->attach(*generator_, ModeAnalog, TFreqScreen::analogControls(ui));
    trigger_->attach(*generator_, TTrgScreen::controlsOf(ui));
    waveA_ = mainWindowDisplay(*ui.WaveformA, ChannelAColor);
    waveB_ = mainWindowDisplay(*ui.WaveformB, ChannelBColor);
    // Each display gives its record to its channel; B carries the phase, A hands it the mouse
    // while the phase is grabbed.
    waveA_->setGenerator(generator_.get(), 0, true);
    waveB_->setGenerator(generator_.get(), 1, true);
    waveB_->setPhaseShown(true);
    waveA_->followMaster(*waveB_);
    for (TWaveScreen* display : {waveA_.get(), waveB_.get()}) {
        display->onCursorMoved = [this] { mainForm_->WaveScreenCursorMove(); };
        display->onPhaseChanged = [this] { mainForm_->WaveScreenCursorMove(); };
    }
    waveA_->onMouseOver = [this] { mainForm_->WaveAMouseOver(); };
    waveB_->onMouseOver = [this] { mainForm_->WaveBMouseOver(); };
    showChosenSlots();
    mainForm_->setAnalogDisplays(waveA_.get(), waveB_.get());
    settings_->setWaveDisplayB(waveB_.get());

    channelA_ = std::make_unique<TChannelScreen>(0, *generator_, TChannelScreen::controlsOf(ui, 0));
    channelB_ = std::make_unique<TChannelScreen>(1, *generator_, TChannelScreen::controlsOf(ui, 1));
    mainForm_->setChannelPanels(channelA_.get(), channelB_.get());
    settings_->setChannelPanels(channelA_.get(), channelB_.get());
}

// Digital mode: the main digital wave, its read-only display, the voltage control and the
// editor that the "Edit" button opens.
void Program::buildDigitalMode() {
    mainForm_->setMode(ModeDigital);
    loadMainWave(mainWave_, state_.startDirectory, messages_);
    Ui::TMainForm& controls = mainForm_->controls();
    digitalDisplay_ = std::make_unique<TDigitalWaveScreen>();
    TDigitalWaveScreen::Flags flags;
    flags.showCursor = true;
    TVirtualGenerator& generator = *generator_;
    digitalDisplay_->attach(*controls.DigitalImage, controls.DigitalBar,
                            [&generator] { return generator.digitalTickFrequency(); }, flags);
    digitalDisplay_->setWave(mainWave_);
    mainForm_->setDigitalDisplay(digitalDisplay_.get());
    digitalControl_ = std::make_unique<TDigitalControl>(*controls.DigitalVoltageBox, generator);
    digitalEditing_ = std::make_unique<DigitalEditing>(mainWave_, generator, *digitalDisplay_,
                                                       state_.startDirectory, *progress_, messages_);
    modules_->digitalEditing = digitalEditing_.get();
}

// Import mode: the two imported waveforms (copies of "Sine" and "Saw" unless the store holds a
// pair of one length); the tick-frequency panels of digital and import mode and the import
// displays are handed their controls.
void Program::buildImportMode() {
    mainForm_->setMode(ModeImport);
    const WaveformRecord& a = store_.importedA;
    const WaveformRecord& b = store_.importedB;
    if (a.pointCount() != b.pointCount() || a.isEmpty() || b.isEmpty()) {
        copyRecord(store_.slots[0], store_.importedA);
        copyRecord(store_.slots[1], store_.importedB);
    }
    generator_->ChangeWave(0, store_.importedA);
    generator_->ChangeWave(1, store_.importedB);
    Ui::TMainForm& ui = mainForm_->controls();
    digitalFrequency_->attach(*generator_, ModeDigital, TFreqScreen::digitalTickControls(ui));
    importFrequency_->attach(*generator_, ModeImport, TFreqScreen::importTickControls(ui));
    importWaveA_ = mainWindowDisplay(*ui.ImportedWaveImageA, ChannelAColor);
    importWaveB_ = mainWindowDisplay(*ui.ImportedWaveImageB, ChannelBColor);
    for (TWaveScreen* display : {importWaveA_.get(), importWaveB_.get()})
        display->onCursorMoved = [this] { mainForm_->ImportedWaveScreenCursorMove(); };
    importWaveA_->setRecord(store_.importedA);
    importWaveB_->setRecord(store_.importedB);
    mainForm_->setImportDisplays(importWaveA_.get(), importWaveB_.get());
    importCommands_ = std::make_unique<ImportCommands>(ImportCommands::Parts{
        state_,
        store_,
        *generator_,
        *mainForm_,
        {channelA_.get(), channelB_.get()},
        *importFrequency_,
        {importWaveA_.get(), importWaveB_.get()},
        *progress_,
        messages_,
    });
    modules_->importCommands = importCommands_.get();
}

// Each mode's objects pass their state to the generator model, inside that mode.
void Program::startModes() {
    state_.pushMode(ModeAnalog);
    // The settings may have chosen other slots.
    showChosenSlots();
    analogFrequency_->sendFrequency();
    channelA_->applyAll();
    channelB_->applyAll();
    state_.popMode();

    state_.pushMode(ModeDigital);
    digitalFrequency_->sendFrequency();
    generator_->ChangeDigitalSequence(mainWave_);
    digitalDisplay_->redraw();
    state_.popMode();

    state_.pushMode(ModeImport);
    importFrequency_->sendFrequency();
    importWaveA_->redraw();
    importWaveB_->redraw();
    state_.popMode();
}

// The analog displays show the chosen slots; each gives its record to its channel.
void Program::showChosenSlots() {
    waveA_->setRecord(store_.slots[static_cast<std::size_t>(state_.waveIndexA)]);
    waveB_->setRecord(store_.slots[static_cast<std::size_t>(state_.waveIndexB)]);
}

// A profile chose its slots: the analog displays show them (and give them to their channels),
// and the channel panels show what the profile set.
void Program::reloadAfterProfile() {
    state_.pushMode(ModeAnalog);
    showChosenSlots();
    state_.popMode();
    channelA_->refreshValues();
    channelB_->refreshValues();
}

void Program::pollSpooler() {
    printerSharing_->spoolerStatusChanged();
}

// The session ends: the program closes as at a normal exit, without the exit question. Any box
// on screen is closed and any later one answered at once, so that nothing waits for an
// operator who is gone; a start-up still running ends before the message loop.
void Program::endSession() {
    if (sessionEnding_) return;
    note("termination signal");
    sessionEnding_ = true;
    // A test's script answers by itself and keeps recording.
    if (!platform_.testLog)
        unattended_ = std::make_unique<ScopedMessageResponder>(unattendedMessages_);
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    mainForm_->closeWithoutConfirmation();
    // Ends nested event loops too (a box or a progress window still open).
    QApplication::exit(0);
}

// An update's installer runs: the program ends as at a normal exit, without the exit question.
void Program::endForInstaller() {
    note("ending for the installer");
    mainForm_->closeWithoutConfirmation();
}

void Program::shutDown() {
    spoolerTimer_.stop();
    state_.appReady = false;
    QDir::setCurrent(QString::fromStdString(state_.startDirectory));
    if (settings_ && generator_) settings_->write(SettingsFileName, messages_);
    saveStore(store_, state_.startDirectory, messages_);
    note("files written");

    freeObjects();

    for (WaveformRecord& record : store_.slots)
        clearRecord(record);
    clearWave(mainWave_);

    if (markers_.releaseSlotMarker()) {
        platform_.driver.SetEPBOn(0);
        note("port released");
    }
    markers_.releaseInstanceMarker();
}
