#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "shell/DialogMessages.h"
#include "device/FilterChoice.h"

class AppState;
class ChannelPanelLink;
class DigitalDisplayLink;
class DriverApi;
class MainWindowModules;
class QGroupBox;
class TDockForm;
class TVirtualGenerator;
class WaveDisplayLink;
class WaveformRecord;
struct ChannelLevel;
struct WaveformStore;

namespace Ui {
class TMainForm;
}

// The application's main window: the group boxes of the three operating modes (each carries in
// its dynamic property "tag" the mask of the modes in which it is shown), the main menu, the
// cursor read-outs of the waveform areas, channel-B phase, undocking of group boxes and the
// import-mode file buttons. The controls belong to the panels, which the start-up hands them
// to; the main window reaches the panels and the windows of other parts through small links
// that are plugged in as those parts are created (each may be absent).
//
// It is also the generator model's view of the two filter boxes (FilterChoice): the channel
// panels handle a changed filter box on its currentIndexChanged signal.
class TMainForm : public QMainWindow, public FilterChoice {
    Q_OBJECT

public:
    // Opens files and links with the desktop's default program; false when nothing could.
    using UrlOpener = std::function<bool(const QUrl&)>;
    // Asks for a file name; empty when cancelled.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& title,
                                                const QString& filter, bool save)>;

    TMainForm(AppState& state, WaveformStore& store, DriverApi& driver, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The controls, handed to the panels at start-up (and put into their stored states by the
    // settings reader). Menu handlers run on QAction::trigger(), which also toggles a
    // checkable entry.
    Ui::TMainForm& controls() { return *ui; }
    // The area below the menu that holds the group boxes (792 x 554).
    QWidget* clientArea() const;

    // ---- collaborators ----
    // Keeps the generator model and attaches the seven handlers below to its events.
    void attachGenerator(TVirtualGenerator& generator);
    void setChannelPanels(ChannelPanelLink* panelA, ChannelPanelLink* panelB);
    void setAnalogDisplays(WaveDisplayLink* displayA, WaveDisplayLink* displayB);
    void setImportDisplays(WaveDisplayLink* displayA, WaveDisplayLink* displayB);
    void setDigitalDisplay(DigitalDisplayLink* display);
    void setModules(MainWindowModules* modules);
    void setUrlOpener(UrlOpener opener);
    void setFileNameAsker(FileNameAsker asker);

    // ---- operations used by other parts ----
    void setMode(int mode);
    // Restores the import-mode level and output on entering import mode, and refreshes the
    // channels; nothing before the settings are loaded, nothing in digital mode.
    void applyModeLevels();
    // Import mode: "Lock level" down disables the level bars, Vpp and dB fields.
    void applyLevelLock();
    void closeUndockedWindows();
    void undockGroupBox(QGroupBox& box);
    const std::vector<TDockForm*>& undockedWindows() const { return undocked_; }
    // Puts the channel's level bar at a level code (the bar's change handling sends it), and
    // puts the output button of a state (0 off, 1 normal, 2 -20 dB) down and clicks it; other
    // states do nothing. The settings reader acts on these controls the same way.
    void applyChannelLevel(int channel, int levelCode);
    void applyChannelOutput(int channel, int outputState);
    // Another copy of the program was started: restores the window and brings it to the front.
    void activateFromAnotherCopy();
    // A screen smaller than 800 x 600: the window becomes resizable at 640 x 480 and the boxes
    // scroll.
    void useSmallScreenLayout();
    // Disables the "Updates" menu for the run (its components could not be created).
    void disableUpdates();
    // No instrument answers: the title says "Q745 - demo" for the whole run, so that the
    // operator sees it after the start-up message has gone.
    void showDemoMode();
    // Closes the window without the exit question, which ends the program (the session is
    // ending, or an installer takes over).
    void closeWithoutConfirmation();

    // ---- handlers of the generator model's events ----
    void WaveScreenCursorMove();
    void ImportedWaveScreenCursorMove();
    void WaveFormChanged(int channel);
    void WaveFormNullMoved(int channel, int position);
    void HorizontalChanged();
    void VerticalChanged(int channel);
    void TickFrequencyChange();
    // Mouse-over handlers of the analog waveform displays: the pointer entered the picture.
    void WaveAMouseOver();
    void WaveBMouseOver();

    // ---- handlers the settings reader runs ----
    // "Set phase" toggled: down enters the phase-grab mode; up gives display B's phase to the
    // generator model.
    void PhaseSetBtnClick();
    // FilterChoice
    int shownFilter(int channel) const override;
    void chooseFilter(int channel, int filter) override;

Q_SIGNALS:
    // The window has closed for good (the exit question, if asked, was not answered No): the
    // program's message loop ends. Emitted after any nested event loop of the question.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void selectMode(int mode);
    void showCursorsWhileChanging();
    void pointerMoved(QPoint globalPosition);
    void setPhaseFromField();
    void setPhaseFieldColor(bool grabbing);
    void selectWave(int channel);
    void loadImportedWave(int channel);
    void saveImportedWave(int channel);
    void importFromAscii();
    void showImportedWaves();
    void openDataView();
    void editCommunication();
    void openHelp();
    void viewReadme();
    void showAbout();
    void dockClosing(TDockForm* window);
    QString askWaveFileName(const QString& title, bool save);
    WaveDisplayLink* analogDisplay(int channel) const;
    WaveDisplayLink* importDisplay(int channel) const;
    ChannelPanelLink* channelPanel(int channel) const;
    // The channel's full-scale level and waveform peak-to-peak, from the generator model.
    ChannelLevel channelLevel(int channel) const;

    AppState& state_;
    WaveformStore& store_;
    DriverApi& driver_;
    std::unique_ptr<Ui::TMainForm> ui;
    DialogMessages messages_;

    TVirtualGenerator* generator_ = nullptr;
    std::array<ChannelPanelLink*, 2> channelPanels_{};
    std::array<WaveDisplayLink*, 2> analogDisplays_{};
    std::array<WaveDisplayLink*, 2> importDisplays_{};
    DigitalDisplayLink* digitalDisplay_ = nullptr;
    MainWindowModules* modules_ = nullptr;
    UrlOpener openUrl_;
    FileNameAsker askFileName_;

    std::vector<QGroupBox*> undockableBoxes_;
    std::vector<TDockForm*> undocked_;
    // The analog cursors were drawn because a value changed (not by the pointer).
    bool cursorsShownByChange_ = false;
    // The analog display (0 A, 1 B) that reported the pointer over its picture; -1 none.
    int displayUnderPointer_ = -1;
    // Octave factor times multiplier at the previous analog read-out; -1 before the first.
    long long lastPhaseQuantum_ = -1;
    bool confirmClose_ = true;
};
