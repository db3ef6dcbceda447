#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <random>

#include "generators/AddNoise.h"
#include "panels/WaveScreen.h"
#include "shell/DialogMessages.h"

namespace Ui {
class TNoiseForm;
}

// "Add noise": uniformly distributed whole-numbered noise of a level in sample steps added to
// the waveform it is given, optionally scaled back into 1..255. Every "Add noise" starts again
// from the waveform given; "Ok" adds it once more and stores the level with the result
// (generatorKind 5).
class TNoiseForm : public QDialog {
    Q_OBJECT

public:
    explicit TNoiseForm(const WaveformRecord& source, QWidget* parent = nullptr);
    ~TNoiseForm() override;

    Ui::TNoiseForm& controls() { return *ui; }
    const WaveformRecord& result() const { return work_; }

    // Adds the noise of the fields; false, after the message, for a level that is no whole
    // number.
    bool Button1Click();
    // Closes only when the level could be read.
    void OkBtnClick();

private:
    std::optional<NoiseParams> typedParams();

    std::unique_ptr<Ui::TNoiseForm> ui;
    DialogMessages messages_;
    const WaveformRecord source_;
    WaveformRecord work_;
    TWaveScreen preview_;
    std::mt19937 random_{std::random_device{}()};
};
