#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "digital/DigitalFileDialog.h"
#include "digital/DigitalMacro.h"

class UserMessages;

namespace Ui {
class TAddMacroForm;
}

// "Add macro": turns a copy of a library macro into a running entry of the edited wave. Each
// element of the macro is dragged onto the net of the wave it drives; "Count:" cycles are
// played, their values asked for each cycle or read from a value file.
class TAddMacroForm : public QDialog {
    Q_OBJECT

public:
    // startDirectory: where the working directory returns after the file dialog.
    TAddMacroForm(TDigitalMacro& entry, const TDigitalWave& wave, UserMessages& messages,
                  std::filesystem::path startDirectory, QWidget* parent = nullptr);
    ~TAddMacroForm() override;

    Ui::TAddMacroForm& controls() { return *ui; }
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

    void accept() override;

private:
    void refreshTargets();
    void valueFromFileToggled(bool on);
    void browse();
    void countFromFile();

    std::unique_ptr<Ui::TAddMacroForm> ui;
    TDigitalMacro& entry_;
    const TDigitalWave& wave_;
    UserMessages& messages_;
    std::filesystem::path startDirectory_;
    FileNameAsker askFileName_;
};
