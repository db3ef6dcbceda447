#include "digital/BusValueScreen.h"

#include "ui_BusValueScreen.h"

TBusValueForm::TBusValueForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TBusValueForm>()) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TBusValueForm::~TBusValueForm() = default;

std::optional<std::string> TBusValueForm::askBusValue(const std::string& valueText) {
    ui->ValueBox->setText(QString::fromStdString(valueText));
    if (exec() != QDialog::Accepted) return std::nullopt;
    return ui->ValueBox->text().toStdString();
}

void TBusValueForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->ValueBox->setFocus();
    ui->ValueBox->selectAll();
}
