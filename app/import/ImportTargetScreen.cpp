#include "import/ImportTargetScreen.h"

#include "ui_ImportTargetScreen.h"

TImportTargetForm::TImportTargetForm(ImportTargetChoices choices, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TImportTargetForm>()) {
    ui->setupUi(this);
    ui->RadioButton1->setEnabled(choices.both);
    ui->RadioButton2->setEnabled(choices.channelA);
    ui->RadioButton3->setEnabled(choices.channelB);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::reject);
}

TImportTargetForm::~TImportTargetForm() = default;

ImportTarget TImportTargetForm::chosen() const {
    if (ui->RadioButton2->isChecked()) return ImportTarget::ChannelA;
    if (ui->RadioButton3->isChecked()) return ImportTarget::ChannelB;
    return ImportTarget::Both;
}

ImportTarget TImportTargetForm::choose() {
    return exec() == QDialog::Accepted ? chosen() : ImportTarget::Cancelled;
}
