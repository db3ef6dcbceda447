#include "digital/DigitalMacroScreen.h"

#include "core/UnitFormat.h"
#include "core/UserError.h"
#include "core/UserMessages.h"
#include "digital/ConfigureMacroScreen.h"
#include "digital/DigitalInterfaceScreen.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/MacroBindings.h"
#include "digital/MacroSetupRules.h"
#include "ui_DigitalMacroScreen.h"

TDigitalMacroForm::TDigitalMacroForm(MacroLibrary& library, int configuredIndex,
                                     UserMessages& messages, ProgressReporter& progress,
                                     BusValueDialog& busDialog,
                                     std::function<double()> tickFrequency, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TDigitalMacroForm>()),
      library_(library),
      configuredIndex_(configuredIndex),
      messages_(messages),
      display_(std::make_unique<TDigitalWaveScreen>()) {
    ui->setupUi(this);
    setFixedSize(size());
    TDigitalMacro& edited = macro();
    ui->TestValueEdit->setText(QStringLiteral("55555555"));
    ui->ValueKindBox->setCurrentIndex(edited.valueWidth <= 3 ? edited.valueWidth : 0);
    applyMacroValue(testValue_, edited);
    ui->ValueDesc->setText(QString::fromStdString(edited.description));
    ui->MacroNameEdit->setText(QString::fromStdString(edited.name));

    TDigitalWaveScreen::Flags flags;
    flags.editable = true;
    flags.showCursor = true;
    display_->attach(*ui->DigitalImage, ui->DigitalBar, tickFrequency, flags);
    display_->setWave(edited.wave);

    TDigitalInterface::Controls controls;
    controls.zoomIn = ui->DigitalZoomInBtn;
    controls.zoomOut = ui->DigitalZoomOutBtn;
    controls.oneStep = ui->DigitalOneStepBtn;
    controls.insertStep = ui->DigitalInsertStepBtn;
    controls.deleteStep = ui->DigitalDeleteStepBtn;
    controls.typeEdit = ui->DigitalTypeEdit;
    controls.counterEdit = ui->DigitalCounterEdit;
    interface_ =
        std::make_unique<TDigitalInterface>(*display_, edited.wave, nullptr, controls, messages,
                                            progress, busDialog, nullptr, std::move(tickFrequency));
    interface_->stepEvents.onStepsShifted = [this](std::int32_t position, int direction) {
        shiftBindings(macro(), position, direction);
    };
    interface_->stepEvents.onStepCopied = [this](std::int32_t position) {
        copyBindings(macro(), position);
    };
    interface_->onBeforeCellChange = [this](int signal) {
        return findBinding(macro(), signal, display_->cursor()) == nullptr;
    };
    interface_->onPanelRefresh = [this] { refreshValuePanel(); };
    display_->onCursorMove = [this] { refreshValuePanel(); };
    interface_->wire();

    connect(ui->BusAssignFromEdit, &QLineEdit::textChanged, this, [this] {
        const int signal = valueSignal();
        const int width =
            signal >= 0 ? macro().wave.signals[static_cast<std::size_t>(signal)].width : 1;
        ui->BusAssignToEdit->setText(QString::fromStdString(
            bindingTopBitText(ui->BusAssignFromEdit->text().toStdString(), width)));
    });
    connect(ui->AssignValueBtn, &QPushButton::clicked, this, &TDigitalMacroForm::assignValue);
    connect(ui->RemoveValueBtn, &QPushButton::clicked, this, &TDigitalMacroForm::removeValue);
    connect(ui->TestValueEdit, &QLineEdit::returnPressed, this, &TDigitalMacroForm::applyTestValue);
    connect(ui->ValueDesc, &QLineEdit::returnPressed, this, &TDigitalMacroForm::applyTestValue);
    connect(ui->Button1, &QPushButton::clicked, this, &TDigitalMacroForm::configureOutputs);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TDigitalMacroForm::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the fields applies the test value; it must not press "Ok" as well.
    TDigitalInterface::leaveEnterToFields(*this);
    display_->redraw();
}

TDigitalMacroForm::~TDigitalMacroForm() = default;

int TDigitalMacroForm::valueSignal() const {
    const TDigitalWave& wave = library_.back().wave;
    const int signal = display_->selectedSignal();
    if (wave.empty() || !wave.hasSignal(signal)) return -1;
    if (wave.signals[static_cast<std::size_t>(signal)].isClock()) return -1;
    return signal;
}

void TDigitalMacroForm::refreshValuePanel() {
    const int signal = valueSignal();
    const bool present = signal >= 0;
    ui->InverseBox->setEnabled(present);
    ui->AssignValueBtn->setEnabled(present);
    ui->RemoveValueBtn->setEnabled(false);
    ui->AssignedLabel->setVisible(present);
    const bool bus = present && macro().wave.signals[static_cast<std::size_t>(signal)].isBus();
    for (QWidget* single : {static_cast<QWidget*>(ui->SimpleAssignLabel),
                            static_cast<QWidget*>(ui->SimpleAssignEdit)})
        single->setVisible(present && !bus);
    for (QWidget* wide :
         {static_cast<QWidget*>(ui->BusAssignFromLabel),
          static_cast<QWidget*>(ui->BusAssignFromEdit), static_cast<QWidget*>(ui->BusAssignToLabel),
          static_cast<QWidget*>(ui->BusAssignToEdit)})
        wide->setVisible(bus);
    if (!present) return;
    ui->AssignedLabel->setText(QStringLiteral("Value not assigned"));
    if (const MacroBinding* binding = findBinding(macro(), signal, display_->cursor())) {
        ui->AssignedLabel->setText(QStringLiteral("Value assigned"));
        ui->RemoveValueBtn->setEnabled(true);
        ui->InverseBox->setChecked(binding->invert != 0);
        const QString bit = QString::fromStdString(twoDigits(binding->bit));
        (bus ? ui->BusAssignFromEdit : ui->SimpleAssignEdit)->setText(bit);
    }
    const int width = macro().wave.signals[static_cast<std::size_t>(signal)].width;
    ui->BusAssignToEdit->setText(QString::fromStdString(
        bindingTopBitText(ui->BusAssignFromEdit->text().toStdString(), width)));
}

void TDigitalMacroForm::assignValue() {
    const int signal = valueSignal();
    if (signal < 0) return;
    const bool bus = macro().wave.signals[static_cast<std::size_t>(signal)].isBus();
    const QString bitText = (bus ? ui->BusAssignFromEdit : ui->SimpleAssignEdit)->text();
    const std::string error = assignBinding(macro(), signal, display_->cursor(),
                                            bitText.toStdString(), ui->InverseBox->isChecked());
    if (!error.empty()) messages_.error(error);
    applyMacroValue(testValue_, macro());
    showTemplate();
    refreshValuePanel();
}

void TDigitalMacroForm::removeValue() {
    const int signal = valueSignal();
    if (signal >= 0) removeBinding(macro(), signal, display_->cursor());
    refreshValuePanel();
}

bool TDigitalMacroForm::readTestValue() {
    try {
        testValue_ = parseHex(ui->TestValueEdit->text().toStdString());
        return true;
    } catch (const UserError& error) {
        messages_.error(error.what());
        return false;
    }
}

void TDigitalMacroForm::applyTestValue() {
    if (!readTestValue()) return;
    applyMacroValue(testValue_, macro());
    display_->redraw();
}

void TDigitalMacroForm::configureOutputs() {
    TDigitalWave elements;
    copyWave(macro().wave, elements);
    TConfigureMacroForm dialog(elements, messages_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    replaceTemplateSignals(macro(), elements);
    applyMacroValue(testValue_, macro());
    showTemplate();
}

void TDigitalMacroForm::showTemplate() {
    interface_->showWave();
}

void TDigitalMacroForm::accept() {
    const bool confirmed = confirmMacroSetup(
        library_, configuredIndex_, ui->MacroNameEdit->text().toStdString(),
        ui->ValueDesc->text().toStdString(),
        static_cast<std::uint8_t>(std::max(ui->ValueKindBox->currentIndex(), 0)), messages_);
    if (!confirmed) {
        ui->MacroNameEdit->setFocus();
        return;
    }
    QDialog::accept();
}
