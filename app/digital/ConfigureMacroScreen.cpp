#include "digital/ConfigureMacroScreen.h"

#include "core/UserMessages.h"
#include "digital/NetList.h"
#include "digital/NetRules.h"
#include "ui_ConfigureMacroScreen.h"

TConfigureMacroForm::TConfigureMacroForm(TDigitalWave& templateWave, UserMessages& messages,
                                         QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TConfigureMacroForm>()),
      template_(templateWave),
      messages_(messages) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->SimpleBox, &QRadioButton::toggled, this, [this](bool single) {
        ui->TopBusEdit->setEnabled(!single);
        ui->TopBusEdit->setText(single ? QStringLiteral("0") : QStringLiteral("1"));
    });
    connect(ui->AddToSignalsBtn, &QPushButton::clicked, this, &TConfigureMacroForm::addToNets);
    connect(ui->UpBtn, &QPushButton::clicked, this, [this] { moveNet(-1); });
    connect(ui->DownBtn, &QPushButton::clicked, this, [this] { moveNet(+1); });
    connect(ui->RemoveBtn, &QPushButton::clicked, this, &TConfigureMacroForm::removeNet);
    connect(ui->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    refreshList();
}

TConfigureMacroForm::~TConfigureMacroForm() = default;

void TConfigureMacroForm::refreshList() {
    const int row = ui->SignalListBox->currentRow();
    ui->SignalListBox->clear();
    for (const TSignal& element : template_.usedSignals())
        ui->SignalListBox->addItem(QString::fromStdString(signalDisplayName(element)));
    ui->SignalListBox->setCurrentRow(std::min(row, ui->SignalListBox->count() - 1));
}

void TConfigureMacroForm::addToNets() {
    const std::string error =
        addMacroElement(template_, ui->SignalNameEdit->text().toStdString(),
                        ui->BusBox->isChecked(), ui->TopBusEdit->text().toStdString());
    if (!error.empty()) {
        messages_.error(error);
        return;
    }
    refreshList();
}

void TConfigureMacroForm::moveNet(int direction) {
    const int moved = ::moveNet(template_, ui->SignalListBox->currentRow(), direction);
    if (moved < 0) return;
    refreshList();
    ui->SignalListBox->setCurrentRow(moved);
}

void TConfigureMacroForm::removeNet() {
    if (!::removeNet(template_, ui->SignalListBox->currentRow())) return;
    refreshList();
}
