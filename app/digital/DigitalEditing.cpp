#include "digital/DigitalEditing.h"

#include "core/ProgressReporter.h"
#include "device/VirtualGenerator.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/MainWaveFile.h"
#include "shell/ProgressWindow.h"

namespace {

// The progress window of the editor's long step operations: the editor (set once it exists)
// is disabled while one runs, so that it cannot be started twice.
class EditorProgress final : public ProgressReporter {
public:
    explicit EditorProgress(ProgressWindow& window) : window_(window) {}

    void progressStart(std::int64_t maximum, bool breakAllowed, bool showNow,
                       const std::string& caption) override {
        window_.progressStart(owner, maximum, breakAllowed, showNow, caption);
    }
    bool progressNext(std::int64_t position) override { return window_.progressNext(position); }
    bool progressStep() override { return window_.progressStep(); }
    void progressFinish() override { window_.progressFinish(); }

    QWidget* owner = nullptr;

private:
    ProgressWindow& window_;
};

}  // namespace

DigitalEditing::DigitalEditing(TDigitalWave& mainWave, TVirtualGenerator& generator,
                               TDigitalWaveScreen& mainDisplay,
                               std::filesystem::path startDirectory, ProgressWindow& progress,
                               UserMessages& messages)
    : mainWave_(mainWave),
      generator_(generator),
      mainDisplay_(mainDisplay),
      startDirectory_(std::move(startDirectory)),
      progress_(progress),
      messages_(messages) {}

bool DigitalEditing::edit(QWidget* owner) {
    EditorProgress progress(progress_);
    TDigitalEditForm editor(
        mainWave_, [this] { return generator_.digitalTickFrequency(); }, startDirectory_, progress,
        messages_, owner, dialogs);
    progress.owner = &editor;
    const bool confirmed = editor.exec() == QDialog::Accepted;
    if (confirmed) {
        generator_.ChangeDigitalSequence(mainWave_);
        mainDisplay_.setWave(mainWave_);
        mainDisplay_.redraw();
        saveMainWave(mainWave_, startDirectory_, messages_);
    }
    editor.saveLibrary();
    return confirmed;
}
