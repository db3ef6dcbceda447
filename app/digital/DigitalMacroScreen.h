#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "digital/DigitalMacro.h"

class BusValueDialog;
class ProgressReporter;
class TDigitalInterface;
class TDigitalWaveScreen;
class UserMessages;

namespace Ui {
class TDigitalMacroForm;
}

// "Setup digital macro": a macro's template edited step by step as the digital wave editor
// edits a wave, its elements ("Configure outputs"), and the cells that take their level from the
// cycle value ("Value to net"). The test value is written into the bound cells so that the
// template shows what a cycle would play. Template and bindings are changed on the macro
// directly; on "Cancel" the caller drops the macro.
class TDigitalMacroForm : public QDialog {
    Q_OBJECT

public:
    // The macro is the library's last entry; configuredIndex is the entry it will replace
    // ("Configure"), -1 for a new macro.
    TDigitalMacroForm(MacroLibrary& library, int configuredIndex, UserMessages& messages,
                      ProgressReporter& progress, BusValueDialog& busDialog,
                      std::function<double()> tickFrequency, QWidget* parent = nullptr);
    ~TDigitalMacroForm() override;

    Ui::TDigitalMacroForm& controls() { return *ui; }
    TDigitalWaveScreen& display() { return *display_; }

    void accept() override;

private:
    TDigitalMacro& macro() { return library_.back(); }
    // The template signal the value panel is about: the selected sequence signal of a template
    // with steps, -1 otherwise.
    int valueSignal() const;
    void refreshValuePanel();
    void assignValue();
    void removeValue();
    // Reads the test value; false (with "Incorrect hexadecimal number") when it is not valid.
    bool readTestValue();
    void applyTestValue();
    void configureOutputs();
    void showTemplate();

    std::unique_ptr<Ui::TDigitalMacroForm> ui;
    MacroLibrary& library_;
    int configuredIndex_;
    UserMessages& messages_;
    std::uint32_t testValue_ = 0x55555555;
    std::unique_ptr<TDigitalWaveScreen> display_;
    std::unique_ptr<TDigitalInterface> interface_;
};
