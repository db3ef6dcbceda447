#include "generators/MathOptions.h"

#include "generators/MathParameterBlock.h"
#include "generators/MathScreen.h"
#include "shell/DialogFlags.h"
#include "ui_MathOptions.h"
#include "ui_MathScreen.h"

TMathOptionsForm::TMathOptionsForm(WaveformRecord& record, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::TMathOptionsForm>()),
      record_(record) {
    ui->setupUi(this);
    setFixedSize(size());

    const MathConstants constants = decodeMathParams(record.params).constants;
    if (constants.allowY) {
        ui->YName->setText(QString::fromStdString(constants.yDescription + " (Y)"));
        ui->YEdit->setEnabled(true);
        ui->YEdit->setText(QString::fromStdString(constants.yValue));
    }
    if (constants.allowZ) {
        ui->ZName->setText(QString::fromStdString(constants.zDescription + " (Z)"));
        ui->ZEdit->setEnabled(true);
        ui->ZEdit->setText(QString::fromStdString(constants.zValue));
    }
    editor_ = std::make_unique<TMathForm>(record, this, ui->WaveImage);

    connect(ui->PreviewBtn, &QPushButton::clicked, this, &TMathOptionsForm::PreviewBtnClick);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TMathOptionsForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TMathOptionsForm::~TMathOptionsForm() = default;

void TMathOptionsForm::copyValuesToEditor() {
    Ui::TMathForm& hidden = editor_->controls();
    if (ui->YEdit->isEnabled()) hidden.YEdit->setText(ui->YEdit->text());
    if (ui->ZEdit->isEnabled()) hidden.ZEdit->setText(ui->ZEdit->text());
}

void TMathOptionsForm::PreviewBtnClick() {
    copyValuesToEditor();
    editor_->CountBtnClick();
}

// The hidden editor's OK computes with the new values and, without an error, stores them in
// the parameters of its work copy.
void TMathOptionsForm::OkBtnClick() {
    copyValuesToEditor();
    editor_->OkBtnClick();
    if (editor_->produced()) {
        copyRecord(editor_->result(), record_);
        changed_ = true;
    }
    accept();
}
