#include "import/ImportFromAsciiScreen.h"

#include "import/ASCIIOperations.h"
#include "panels/ZoomButtons.h"
#include "shell/DialogMessages.h"
#include "ui_ImportFromAsciiScreen.h"
#include "waves/WaveformStatistics.h"

TImportFromAsciiForm::TImportFromAsciiForm(ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TImportFromAsciiForm>()),
      progress_(progress),
      preview_(std::make_unique<TWaveScreen>()) {
    ui->setupUi(this);
    preview_->bind(*ui->ImportScreen);
    preview_->setTraceColor(qRgb(0, 255, 0));
    ZoomButtons{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->ZoomFullBtn, ui->OverZoomBtn}
        .bind(*preview_);
    ui->SeparatorEdit->setEnabled(ui->RealNumbersBox->isChecked());
    ui->OkBtn->setEnabled(false);
    connect(ui->RealNumbersBox, &QCheckBox::toggled, ui->SeparatorEdit, &QWidget::setEnabled);
    connect(ui->NormalizeBox, &QCheckBox::toggled, this, &TImportFromAsciiForm::normalizeToggled);
    connect(ui->Button1, &QPushButton::clicked, this, &TImportFromAsciiForm::reload);
    connect(ui->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TImportFromAsciiForm::~TImportFromAsciiForm() = default;

void TImportFromAsciiForm::normalizeToggled(bool on) {
    // The values set the level only when they fill the whole range of samples.
    if (!on) ui->DontSetBox->setChecked(true);
    for (QWidget* choice :
         {static_cast<QWidget*>(ui->DontSetBox), static_cast<QWidget*>(ui->VoltSetBox),
          static_cast<QWidget*>(ui->MVoltSetBox)})
        choice->setEnabled(on);
}

bool TImportFromAsciiForm::openFile(const std::filesystem::path& fileName) {
    fileName_ = fileName;
    record_.setName(fileName.stem().string());
    DialogMessages messages;
    const AsciiAnalysis analysis = analyseAsciiFile(fileName, messages, progress_);
    if (analysis.code == AnalyseCode::CannotOpen || analysis.code == AnalyseCode::Abandoned)
        return false;
    if (analysis.code == AnalyseCode::Guessed) {
        ui->RealNumbersBox->setChecked(analysis.realNumbers);
        if (analysis.realNumbers) ui->SeparatorEdit->setText(QString(QChar(analysis.separator)));
    }
    reload();
    return true;
}

AsciiReloadSettings TImportFromAsciiForm::settings() const {
    AsciiReloadSettings chosen;
    chosen.realNumbers = ui->RealNumbersBox->isChecked();
    chosen.separator = ui->SeparatorEdit->text().toStdString();
    chosen.readMode = ui->ReadOddBox->isChecked()    ? AsciiReadMode::Odd
                      : ui->ReadEvenBox->isChecked() ? AsciiReadMode::Even
                                                     : AsciiReadMode::All;
    chosen.normalize = ui->NormalizeBox->isChecked();
    return chosen;
}

void TImportFromAsciiForm::reload() {
    DialogMessages messages;
    // The button stays disabled while the file is read.
    ui->Button1->setEnabled(false);
    const AsciiReloadSettings chosen = settings();
    const std::vector<std::uint8_t> before = work_.samples.points;
    reloadAscii(fileName_, chosen, work_, messages, progress_);
    ui->Button1->setEnabled(true);
    // A failed load keeps the samples it had, and how they were made.
    if (work_.samples.points != before) normalizedLoad_ = chosen.normalize;
    ui->OkBtn->setEnabled(work_.okEnabled);
    record_.points = work_.samples.points;
    computeStatistics(record_);
    preview_->showRecord(record_);
}

int TImportFromAsciiForm::target() const {
    return ui->ChannelBBox->isChecked() ? 1 : 0;
}

TImportFromAsciiForm::LevelChoice TImportFromAsciiForm::levelChoice() const {
    if (ui->VoltSetBox->isChecked()) return LevelChoice::Volts;
    if (ui->MVoltSetBox->isChecked()) return LevelChoice::Millivolts;
    return LevelChoice::DontSet;
}
