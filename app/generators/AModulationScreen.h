#pragma once

#include <QDialog>
#include <memory>

#include "generators/AmplitudeModulation.h"
#include "generators/WaveformEditors.h"
#include "panels/WaveScreen.h"

namespace Ui {
class TAModulationForm;
}

// "Amplitude modulation": a sine carrier of F periods multiplied by the waveform it is given,
// used as envelope, never below A % of the full amplitude. Modulating always starts from the
// waveform given, so it can be tried again with other values; "Ok" stores F and A with the
// result (generatorKind 4).
class TAModulationForm : public QDialog {
    Q_OBJECT

public:
    // context: the output frequency and point step of the channel, for the carrier's read-out.
    TAModulationForm(const WaveformRecord& source, const EditorContext& context,
                     QWidget* parent = nullptr);
    ~TAModulationForm() override;

    Ui::TAModulationForm& controls() { return *ui; }
    const ModulationParams& params() const { return params_; }
    const WaveformRecord& result() const { return work_; }
    // The carrier's frequency is drawn red: beyond what the channel reproduces.
    bool carrierBeyondReproduction() const { return carrierRed_; }

    void ModulateBtnClick();
    void OkBtnClick();

private:
    void FreqEditChange();
    void AmplEditChange();

    std::unique_ptr<Ui::TAModulationForm> ui;
    const WaveformRecord source_;
    EditorContext context_;
    ModulationParams params_;
    WaveformRecord work_;
    TWaveScreen preview_;
    bool carrierRed_ = false;
};
