#include "generators/AModulationScreen.h"

#include "core/UnitFormat.h"
#include "panels/ZoomButtons.h"
#include "shell/DialogFlags.h"
#include "shell/RedLabel.h"
#include "ui_AModulationScreen.h"
#include "waves/DataViewRows.h"

TAModulationForm::TAModulationForm(const WaveformRecord& source, const EditorContext& context,
                                   QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::TAModulationForm>()),
      source_(source),
      context_(context),
      work_(source) {
    ui->setupUi(this);
    setFixedSize(size());

    preview_.bind(*ui->WaveImage);
    ZoomButtons{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn}.bind(preview_);
    preview_.setRecord(work_);

    connect(ui->FreqEdit, &QLineEdit::textChanged, this, &TAModulationForm::FreqEditChange);
    connect(ui->AmplEdit, &QLineEdit::textChanged, this, &TAModulationForm::AmplEditChange);
    connect(ui->ModulateBtn, &QPushButton::clicked, this, &TAModulationForm::ModulateBtnClick);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TAModulationForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    FreqEditChange();
    AmplEditChange();
    if (source.generatorKind == kGeneratorModulation) {
        const ModulationParams stored = decodeModulationParams(source.params);
        ui->FreqEdit->setText(QString::number(stored.carrierPeriods));
        ui->AmplEdit->setText(QString::number(stored.minimumAmplitude));
    }
}

TAModulationForm::~TAModulationForm() = default;

void TAModulationForm::FreqEditChange() {
    bool read = false;
    const int periods = ui->FreqEdit->text().trimmed().toInt(&read);
    if (!read) return;
    params_.carrierPeriods = periods;
    ui->Label2->setText(
        QString::fromStdString("= " + formatFrequencyShort(periods * context_.frequency) + "Hz"));
    carrierRed_ = beyondReproduction(context_.sampleStep, periods);
    showInRed(*ui->Label2, carrierRed_);
}

void TAModulationForm::AmplEditChange() {
    bool read = false;
    const int percent = ui->AmplEdit->text().trimmed().toInt(&read);
    if (!read) return;
    const int limited = limitMinimumAmplitude(percent);
    if (limited != percent) {
        ui->AmplEdit->setText(QString::number(limited));
        return;
    }
    params_.minimumAmplitude = percent;
}

void TAModulationForm::ModulateBtnClick() {
    modulate(source_, params_, work_);
    preview_.setRecord(work_);
}

void TAModulationForm::OkBtnClick() {
    finishModulation(source_, params_, work_);
    accept();
}
