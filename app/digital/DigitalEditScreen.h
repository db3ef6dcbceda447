#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "digital/DigitalFileDialog.h"
#include "digital/DigitalMacro.h"
#include "digital/MacroValueDialog.h"

class BusValueDialog;
class ListDrop;
class ProgressReporter;
class TBusValueForm;
class TDigitalInterface;
class TDigitalWaveScreen;
class TMacroValueForm;
class UserMessages;

namespace Ui {
class TDigitalEditForm;
}

// The value dialogs the digital wave editor asks; absent ones are the editor's own windows.
struct DigitalEditDialogs {
    BusValueDialog* busValue = nullptr;
    MacroValueDialog* macroValue = nullptr;
};

// "Edit digital wave": edits a working copy of the main digital wave step by step, keeps the
// macro library ("DMacros.dat", read when the editor opens and written when it closes, after
// "Cancel" too) and the queue of running macros that fill appended steps. "Ok" puts the working
// copy in place of the main wave; the main window then uploads, shows and saves it.
class TDigitalEditForm : public QDialog, private MacroValueDialog {
    Q_OBJECT

public:
    // Reads the library from startDirectory and copies the main wave. tickFrequency is the
    // tick frequency set on the instrument (Hz).
    TDigitalEditForm(TDigitalWave& mainWave, std::function<double()> tickFrequency,
                     std::filesystem::path startDirectory, ProgressReporter& progress,
                     UserMessages& messages, QWidget* parent = nullptr,
                     DigitalEditDialogs dialogs = {});
    // Writes the library if saveLibrary has not.
    ~TDigitalEditForm() override;

    Ui::TDigitalEditForm& controls() { return *ui; }
    TDigitalWaveScreen& display() { return *display_; }
    const TDigitalWave& workingWave() const { return working_; }
    const MacroQueue& runningMacros() const { return running_; }
    const MacroLibrary& library() const { return library_; }
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

    // "Ok": with macros still running, asks first; then the working wave becomes the main wave.
    void accept() override;
    // Closing: the working data and the running macros are released, the library is written
    // to "DMacros.dat" and emptied.
    void saveLibrary();

private:
    // Asked by the expansion: the display highlights the running macro that asks, then the
    // value dialog asks.
    std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) override;
    // The screen is smaller than 800 x 600: a sizeable 640 x 480 window at the top left whose
    // controls scroll.
    void useSmallScreenLayout();
    void wireButtons();
    QString askFileName(const QString& title, const QString& folder, const QString& filter,
                        bool save);

    void newWave();
    void clearWave();
    void configureWave();
    void saveWave();
    void loadWave();
    void exportVcd();

    void refreshLibraryList();
    // The library entry of the selected line of the library list; -1 when none is selected.
    int selectedMacro() const;
    // Runs the macro editor on the library's last entry; true on "Ok".
    bool setUpMacro(int configuredIndex);
    void newMacro();
    void configureMacro();
    void deleteMacro();
    void exportMacro();
    void importMacro();

    void addRunningEntry(int libraryIndex);
    // Neither redraws the display: each caller redraws once after its change.
    void refreshRunningList();
    void showRunningSelection();
    void clearRunning();
    void deleteRunning();
    void showWave();

    std::unique_ptr<Ui::TDigitalEditForm> ui;
    TDigitalWave& mainWave_;
    std::function<double()> tickFrequency_;
    std::filesystem::path startDirectory_;
    ProgressReporter& progress_;
    UserMessages& messages_;
    FileNameAsker askFileName_;

    TDigitalWave working_;
    MacroQueue running_;
    MacroLibrary library_;
    std::vector<int> order_;
    bool librarySaved_ = false;

    std::unique_ptr<TBusValueForm> busForm_;
    std::unique_ptr<TMacroValueForm> valueForm_;
    BusValueDialog* busDialog_ = nullptr;
    MacroValueDialog* valueDialog_ = nullptr;
    std::unique_ptr<TDigitalWaveScreen> display_;
    std::unique_ptr<TDigitalInterface> interface_;
};
