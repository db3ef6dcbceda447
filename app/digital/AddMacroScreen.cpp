#include "digital/AddMacroScreen.h"

#include <QDir>

#include "core/UserMessages.h"
#include "digital/CountFromFile.h"
#include "digital/ListDrop.h"
#include "digital/RunningEntrySetup.h"
#include "ui_AddMacroScreen.h"

TAddMacroForm::TAddMacroForm(TDigitalMacro& entry, const TDigitalWave& wave, UserMessages& messages,
                             std::filesystem::path startDirectory, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TAddMacroForm>()),
      entry_(entry),
      wave_(wave),
      messages_(messages),
      startDirectory_(std::move(startDirectory)),
      askFileName_(standardFileNameAsker()) {
    ui->setupUi(this);
    setFixedSize(size());
    dropMissingTargets(entry_, wave_);
    ui->MacroNameEdit->setText(QString::fromStdString(entry_.name));
    ui->CheckBox1->setEnabled(!entry_.bindings.empty());
    ui->ComboBox1->setCurrentIndex(entry_.valueWidth <= 3 ? entry_.valueWidth : 0);
    ui->CountEdit->setText(QStringLiteral("1"));
    ui->Edit2->setText(QStringLiteral("0"));
    for (const TSignal& element : entry_.wave.usedSignals())
        ui->SrcBox->addItem(QString::fromStdString(signalDisplayName(element)));
    ui->SrcBox->setCurrentRow(0);
    refreshTargets();

    auto* drop = new ListDrop(*ui->SrcBox, *ui->TrgtBox, true);
    drop->accepts = [this] { return ui->SrcBox->currentRow() >= 0; };
    drop->onDrop = [this](int element, int target) {
        if (element < 0 || !wave_.hasSignal(target)) return;
        assignTarget(entry_, element, target);
        refreshTargets();
    };

    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TAddMacroForm::valueFromFileToggled);
    connect(ui->Button1, &QPushButton::clicked, this, &TAddMacroForm::browse);
    connect(ui->Button2, &QPushButton::clicked, this, &TAddMacroForm::countFromFile);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TAddMacroForm::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TAddMacroForm::~TAddMacroForm() = default;

void TAddMacroForm::refreshTargets() {
    const int row = ui->TrgtBox->currentRow();
    ui->TrgtBox->clear();
    for (int target = 0; target < wave_.signalCount; ++target)
        ui->TrgtBox->addItem(QString::fromStdString(targetLineText(entry_, wave_, target)));
    ui->TrgtBox->setCurrentRow(row);
}

void TAddMacroForm::valueFromFileToggled(bool on) {
    for (QWidget* control : {static_cast<QWidget*>(ui->Edit1), static_cast<QWidget*>(ui->Button1),
                             static_cast<QWidget*>(ui->Edit2), static_cast<QWidget*>(ui->ComboBox1),
                             static_cast<QWidget*>(ui->Button2)})
        control->setEnabled(on);
}

void TAddMacroForm::browse() {
    const QString name = askFileName_ ? askFileName_(this, QStringLiteral("Value file"), QString(),
                                                     QStringLiteral("All files (*)"), false)
                                      : QString();
    QDir::setCurrent(QString::fromStdString(startDirectory_.string()));
    if (!name.isEmpty()) ui->Edit1->setText(name);
}

void TAddMacroForm::countFromFile() {
    const auto count =
        ::countFromFile(ui->Edit1->text().toStdString(), ui->Edit2->text().toStdString(),
                        ui->ComboBox1->currentIndex());
    if (count) ui->CountEdit->setText(QString::number(*count));
}

void TAddMacroForm::accept() {
    RunningEntryInput input;
    input.countText = ui->CountEdit->text().toStdString();
    input.valueFromFile = ui->CheckBox1->isChecked();
    input.fileName = ui->Edit1->text().toStdString();
    input.offsetText = ui->Edit2->text().toStdString();
    input.valueWidth = static_cast<std::uint8_t>(std::max(ui->ComboBox1->currentIndex(), 0));
    const std::string error = setUpRunningEntry(entry_, wave_, input);
    if (!error.empty()) {
        messages_.error(error);
        return;
    }
    QDialog::accept();
}
