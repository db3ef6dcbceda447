#include "generators/NoiseScreen.h"

#include "ui_NoiseScreen.h"

TNoiseForm::TNoiseForm(const WaveformRecord& source, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TNoiseForm>()),
      source_(source),
      work_(source) {
    ui->setupUi(this);
    setFixedSize(size());

    preview_.bind(*ui->WaveImage);
    preview_.setZoomAllowed(true);
    preview_.onZoomEnded = [this] {
        ui->ZoomMaxBtn->setChecked(false);
        ui->ZoomInBtn->setChecked(false);
    };
    preview_.setRecord(work_);

    connect(ui->Button1, &QPushButton::clicked, this, &TNoiseForm::Button1Click);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TNoiseForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->ZoomMaxBtn, &QPushButton::clicked, this, [this] {
        preview_.toggleZoomMax();
        showZoomMode();
    });
    connect(ui->ZoomInBtn, &QPushButton::clicked, this, [this] {
        preview_.toggleZoomIn();
        showZoomMode();
    });
    connect(ui->ZoomOutBtn, &QPushButton::clicked, this, [this] { preview_.zoomOut(); });
    connect(ui->Zoom11Btn, &QPushButton::clicked, this, [this] { preview_.zoomFull(); });

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

void TNoiseForm::showZoomMode() {
    const TWaveScreen::ZoomMode mode = preview_.zoomMode();
    ui->ZoomMaxBtn->setChecked(mode == TWaveScreen::ZoomMode::ZoomMax);
    ui->ZoomInBtn->setChecked(mode == TWaveScreen::ZoomMode::ZoomIn ||
                              mode == TWaveScreen::ZoomMode::DraggingRange);
}
