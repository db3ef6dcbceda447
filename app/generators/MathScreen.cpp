#include "generators/MathScreen.h"

#include <QListWidget>

#include "generators/FormulaWaveform.h"
#include "panels/ZoomButtons.h"
#include "shell/DialogFlags.h"
#include "ui_MathScreen.h"

namespace {

constexpr int AddingNewSlot = -1;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

TMathForm::TMathForm(const WaveformRecord& source, QWidget* parent, TPictureBox* previewArea)
    : QDialog(parent, kFixedDialogFlags), ui(std::make_unique<Ui::TMathForm>()), work_(source) {
    ui->setupUi(this);
    setFixedSize(size());

    preview_.bind(previewArea != nullptr ? *previewArea : *ui->WaveImage);
    ZoomButtons{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn}.bind(preview_);
    preview_.setRecord(work_);

    connect(ui->Addbtn, &QPushButton::clicked, this, &TMathForm::AddbtnClick);
    connect(ui->ReplaceBtn, &QPushButton::clicked, this, &TMathForm::ReplaceBtnClick);
    connect(ui->DeleteBtn, &QPushButton::clicked, this, &TMathForm::DeleteBtnClick);
    connect(ui->CountBtn, &QPushButton::clicked, this, &TMathForm::CountBtnClick);
    connect(ui->AdvModeButton, &QPushButton::clicked, this, &TMathForm::AdvModeButtonClick);
    connect(ui->NormButton, &QPushButton::toggled, this,
            [this](bool down) { block_.normalize = down; });
    connect(ui->FormulaList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { FormulaListDblClick(ui->FormulaList->row(item)); });
    connect(ui->AllowY, &QCheckBox::toggled, this, &TMathForm::enableConstantEdits);
    connect(ui->AllowZ, &QCheckBox::toggled, this, &TMathForm::enableConstantEdits);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TMathForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    block_.advancedMode = false;
    block_.normalize = true;
    block_.count = 0;
    if (source.generatorKind == kGeneratorFormula) {
        block_ = decodeMathParams(source.params);
        fillEdits(block_.slots[0]);
        fillConstants(block_.constants);
    }
    ui->AdvModeButton->setChecked(block_.advancedMode);
    applyMode(block_.advancedMode);
    ui->NormButton->setChecked(block_.normalize);
}

TMathForm::~TMathForm() = default;

// ---------------------------------------------------------------- the edits

void TMathForm::fillEdits(const MathSlot& slot) {
    ui->RStartEdit->setText(text(slot.realStart));
    ui->REndEdit->setText(text(slot.realEnd));
    ui->WStartEdit->setText(text(slot.waveStart));
    ui->WEndEdit->setText(text(slot.waveEnd));
    ui->FormulaEdit->setText(text(slot.formula));
}

void TMathForm::fillConstants(const MathConstants& constants) {
    ui->AllowY->setChecked(constants.allowY);
    ui->AllowZ->setChecked(constants.allowZ);
    ui->YEdit->setText(text(constants.yValue));
    ui->ZEdit->setText(text(constants.zValue));
    ui->YDesc->setText(text(constants.yDescription));
    ui->ZDesc->setText(text(constants.zDescription));
    enableConstantEdits();
}

void TMathForm::enableConstantEdits() {
    const bool y = ui->AllowY->isChecked();
    const bool z = ui->AllowZ->isChecked();
    ui->YEdit->setEnabled(y);
    ui->YDesc->setEnabled(y);
    ui->ZEdit->setEnabled(z);
    ui->ZDesc->setEnabled(z);
}

MathSlot TMathForm::slotFromEdits() const {
    return {text(ui->RStartEdit), text(ui->REndEdit), text(ui->WStartEdit), text(ui->WEndEdit),
            text(ui->FormulaEdit)};
}

MathConstants TMathForm::constantsFromEdits() const {
    return {ui->AllowY->isChecked(), ui->AllowZ->isChecked(), text(ui->YEdit),
            text(ui->ZEdit),         text(ui->YDesc),         text(ui->ZDesc)};
}

// The values and names of y and z as typed; whether they are allowed stays as the list has it.
void TMathForm::storeValueTexts() {
    const MathConstants typed = constantsFromEdits();
    block_.constants.yValue = typed.yValue;
    block_.constants.zValue = typed.zValue;
    block_.constants.yDescription = typed.yDescription;
    block_.constants.zDescription = typed.zDescription;
}

// ---------------------------------------------------------------- mode and list

void TMathForm::applyMode(bool advanced) {
    block_.advancedMode = advanced;
    ui->Addbtn->setDefault(advanced);
    ui->CountBtn->setDefault(!advanced);
    for (QWidget* control :
         {static_cast<QWidget*>(ui->WStartEdit), static_cast<QWidget*>(ui->WEndEdit),
          static_cast<QWidget*>(ui->FormulaList), static_cast<QWidget*>(ui->Addbtn),
          static_cast<QWidget*>(ui->ReplaceBtn), static_cast<QWidget*>(ui->DeleteBtn)})
        control->setEnabled(advanced);
    if (advanced) {
        refreshList();
    } else {
        ui->WStartEdit->setText(QStringLiteral("0"));
        ui->WEndEdit->setText(QStringLiteral("16383"));
    }
}

void TMathForm::AdvModeButtonClick() {
    applyMode(ui->AdvModeButton->isChecked());
    block_.count = 0;
    refreshList();
}

void TMathForm::refreshList() {
    ui->FormulaList->clear();
    for (int k = 0; k < block_.count; ++k)
        ui->FormulaList->addItem(text(formulaListLine(block_.slots[static_cast<std::size_t>(k)])));
}

void TMathForm::addToList(int replaceIndex) {
    try {
        addFormulaSlot(block_, replaceIndex, slotFromEdits(), constantsFromEdits(), expression_);
        refreshList();
    } catch (const FormulaError& error) {
        messages_.error(error.what());
    }
}

void TMathForm::AddbtnClick() {
    addToList(AddingNewSlot);
}

void TMathForm::ReplaceBtnClick() {
    const QList<QListWidgetItem*> selected = ui->FormulaList->selectedItems();
    addToList(selected.isEmpty() ? AddingNewSlot : ui->FormulaList->row(selected.first()));
}

void TMathForm::DeleteBtnClick() {
    const QList<QListWidgetItem*> selected = ui->FormulaList->selectedItems();
    if (selected.isEmpty()) return;
    deleteFormulaSlot(block_, ui->FormulaList->row(selected.first()));
    refreshList();
}

void TMathForm::FormulaListDblClick(int row) {
    if (row < 0 || row >= block_.count) return;
    fillEdits(block_.slots[static_cast<std::size_t>(row)]);
    fillConstants(block_.constants);
}

// ---------------------------------------------------------------- computing

bool TMathForm::compute() {
    if (block_.advancedMode)
        storeValueTexts();
    else
        setSimpleFormula(block_, slotFromEdits(), constantsFromEdits());
    const bool computed = computeFormulaWaveform(block_, expression_, work_, messages_);
    preview_.setRecord(work_);
    return computed;
}

void TMathForm::CountBtnClick() {
    compute();
}

void TMathForm::OkBtnClick() {
    if (compute()) {
        finishFormulaWaveform(block_, work_);
        produced_ = true;
    }
    accept();
}
