#include "digital/MacroValueScreen.h"

#include "core/UnitFormat.h"
#include "core/UserError.h"
#include "core/UserMessages.h"
#include "digital/DigitalMacro.h"
#include "ui_MacroValueScreen.h"

TMacroValueForm::TMacroValueForm(UserMessages& messages, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TMacroValueForm>()), messages_(messages) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OkBtn, &QPushButton::clicked, this, [this] { choose(kValueAsk); });
    connect(ui->FinishBtn, &QPushButton::clicked, this, [this] { choose(kValueKeep); });
    connect(ui->FinishMinusBtn, &QPushButton::clicked, this, [this] { choose(kValueCountDown); });
    connect(ui->FinishPlusBtn, &QPushButton::clicked, this, [this] { choose(kValueCountUp); });
    connect(ui->AbortBtn, &QPushButton::clicked, this, &QDialog::reject);
    ui->OkBtn->setDefault(true);
}

TMacroValueForm::~TMacroValueForm() = default;

std::optional<MacroValueAnswer> TMacroValueForm::askMacroValue(const MacroValueRequest& request) {
    ui->MacroNameEdit->setText(QString::fromStdString(request.macroName));
    ui->MacroCycleEdit->setText(QString::number(request.cycleNumber));
    ui->ValueDescLabel->setText(QString::fromStdString(request.description));
    ui->ValueDescEdit->setText(QString::fromStdString(request.valueText));
    if (exec() != QDialog::Accepted) return std::nullopt;
    return answer_;
}

void TMacroValueForm::choose(std::uint8_t valueSource) {
    try {
        answer_.value = parseHex(ui->ValueDescEdit->text().toStdString());
    } catch (const UserError& error) {
        messages_.error(error.what());
        ui->ValueDescEdit->setFocus();
        return;
    }
    answer_.valueSource = valueSource;
    accept();
}

void TMacroValueForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->ValueDescEdit->setFocus();
    ui->ValueDescEdit->selectAll();
}
