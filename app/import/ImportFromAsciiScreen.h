#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "import/AsciiWaveform.h"
#include "panels/WaveScreen.h"
#include "waves/WaveformRecord.h"

class ProgressReporter;

namespace Ui {
class TImportFromAsciiForm;
}

// "Import from ASCII": the parsing options of a text file of numbers, the waveform they give
// (previewed), the target channel and whether the channel's level and shift are set from the
// values. The caller takes the result once the dialog has ended with "Ok".
class TImportFromAsciiForm : public QDialog {
    Q_OBJECT

public:
    enum class LevelChoice { DontSet, Volts, Millivolts };

    explicit TImportFromAsciiForm(ProgressReporter& progress, QWidget* parent = nullptr);
    ~TImportFromAsciiForm() override;

    // Analyses the chosen file, takes the guessed options and reloads. False when the import is
    // abandoned (the file cannot be opened, or the operator stopped at a byte that is not
    // text): the dialog is then not to be shown.
    bool openFile(const std::filesystem::path& fileName);
    // "Reload": the values of the file with the options shown.
    void reload();

    // The values and samples of the last successful load (the work record's points).
    const AsciiWork& work() const { return work_; }
    const WaveformRecord& workRecord() const { return record_; }
    // Whether the samples of the last load were normalised.
    bool normalizedLoad() const { return normalizedLoad_; }
    AsciiReloadSettings settings() const;
    int target() const;  // 0 A, 1 B
    LevelChoice levelChoice() const;

    TWaveScreen& preview() { return *preview_; }
    Ui::TImportFromAsciiForm& controls() { return *ui; }

private:
    void normalizeToggled(bool on);

    std::unique_ptr<Ui::TImportFromAsciiForm> ui;
    ProgressReporter& progress_;
    std::unique_ptr<TWaveScreen> preview_;
    std::filesystem::path fileName_;
    AsciiWork work_;
    WaveformRecord record_;
    bool normalizedLoad_ = true;
};
