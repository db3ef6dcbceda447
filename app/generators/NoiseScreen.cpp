#include "generators/NoiseScreen.h"

#include "panels/ZoomButtons.h"
#include "shell/DialogFlags.h"
#include "ui_NoiseScreen.h"

TNoiseForm::TNoiseForm(const WaveformRecord& source, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::TNoiseForm>()),
      source_(source),
      work_(source) {
    ui->setupUi(this);
    setFixedSize(size());

    preview_.bind(*ui->WaveImage);
    ZoomButtons{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn}.bind(preview_);
    preview_.setRecord(work_);

    connect(ui->Button1, &QPushButton::clicked, this, &TNoiseForm::Button1Click);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TNoiseForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // Opened again on noise made here: the level it was made with.
    if (source.generatorKind == kGeneratorNoise) {
        const NoiseParams stored = decodeNoiseParams(source.params);
        ui->LevelEdit->setText(QString::number(stored.level));
        ui->NormalizeBox->setChecked(stored.normalize);
    }
}

TNoiseForm::~TNoiseForm() = default;

std::optional<NoiseParams> TNoiseForm::typedParams() {
    bool read = false;
    const int level = ui->LevelEdit->text().trimmed().toInt(&read);
    if (!read || level < 0) {
        messages_.error(kInvalidNoiseLevel);
        return std::nullopt;
    }
    return NoiseParams{level, ui->NormalizeBox->isChecked()};
}

bool TNoiseForm::Button1Click() {
    const std::optional<NoiseParams> params = typedParams();
    if (!params) return false;
    addNoise(source_, *params, random_, work_);
    preview_.setRecord(work_);
    return true;
}

void TNoiseForm::OkBtnClick() {
    const std::optional<NoiseParams> params = typedParams();
    if (!params) return;
    finishNoise(source_, *params, random_, work_);
    accept();
}
