#include "digital/ConfigureWaveScreen.h"

#include "core/UserMessages.h"
#include "digital/ListDrop.h"
#include "digital/NetList.h"
#include "digital/NetRules.h"
#include "ui_ConfigureWaveScreen.h"

namespace {

QString pinName(const TSignal& signal, int pin) {
    return QString::fromStdString(pinDisplayName(signal, pin));
}

}  // namespace

TConfigureWaveForm::TConfigureWaveForm(TDigitalWave& nets, UserMessages& messages, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TConfigureWaveForm>()),
      nets_(nets),
      messages_(messages) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->SimpleBox, &QRadioButton::toggled, this, [this](bool single) {
        ui->TopBusEdit->setEnabled(!single && !building_);
        ui->TopBusEdit->setText(single ? QStringLiteral("0") : QStringLiteral("1"));
    });
    connect(ui->NextStepBtn, &QPushButton::clicked, this, &TConfigureWaveForm::nextStep);
    connect(ui->AddToSignalsBtn, &QPushButton::clicked, this, &TConfigureWaveForm::addToNets);
    connect(ui->DiscardNewSignalBtn, &QPushButton::clicked, this,
            &TConfigureWaveForm::discardNewNet);
    connect(ui->UpBtn, &QPushButton::clicked, this, [this] { moveNet(-1); });
    connect(ui->DownBtn, &QPushButton::clicked, this, [this] { moveNet(+1); });
    connect(ui->RemoveBtn, &QPushButton::clicked, this, &TConfigureWaveForm::removeNet);
    connect(ui->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    pinDrop_ = new ListDrop(*ui->AvailPinsBox, *ui->AssignedPinBox, true);
    pinDrop_->accepts = [this] {
        const int line = ui->AvailPinsBox->currentRow();
        return building_.has_value() && line >= 0 && lineOwner(line).isEmpty();
    };
    pinDrop_->onDrop = [this](int line, int pin) { assignLine(line, pin); };

    setBuilding(false);
    refreshLists();
}

TConfigureWaveForm::~TConfigureWaveForm() = default;

QString TConfigureWaveForm::lineOwner(int line) const {
    const auto mask = static_cast<std::uint16_t>(1u << line);
    const auto ownerIn = [&](const TSignal& signal) -> QString {
        for (int pin = 0; pin < signal.width; ++pin)
            if (signal.pins[static_cast<std::size_t>(pin)].mask == mask)
                return pinName(signal, pin);
        return {};
    };
    for (const TSignal& signal : nets_.usedSignals()) {
        const QString owner = ownerIn(signal);
        if (!owner.isEmpty()) return owner;
    }
    return building_ ? ownerIn(*building_) : QString();
}

void TConfigureWaveForm::refreshLists() {
    const int availableRow = ui->AvailPinsBox->currentRow();
    ui->AvailPinsBox->clear();
    for (int line = 0; line < kMaxSignalWidth; ++line) {
        const QString owner = lineOwner(line);
        QString text = "D" + QString::number(line);
        if (!owner.isEmpty()) text += " <assigned to " + owner + ">";
        auto* item = new QListWidgetItem(text, ui->AvailPinsBox);
        // Only free lines can be dragged onto a pin.
        if (!owner.isEmpty()) item->setFlags(item->flags() & ~Qt::ItemIsDragEnabled);
    }
    ui->AvailPinsBox->setCurrentRow(availableRow);

    const int pinRow = ui->AssignedPinBox->currentRow();
    ui->AssignedPinBox->clear();
    if (building_) {
        for (int pin = 0; pin < building_->width; ++pin) {
            const std::uint16_t mask = building_->pins[static_cast<std::size_t>(pin)].mask;
            const QString name = pinName(*building_, pin);
            ui->AssignedPinBox->addItem(mask == 0
                                            ? name + " <unassigned>"
                                            : name + " = D" + QString::number(lineOfMask(mask)));
        }
        ui->AssignedPinBox->setCurrentRow(pinRow);
    }

    const int netRow = ui->SignalListBox->currentRow();
    ui->SignalListBox->clear();
    for (const TSignal& signal : nets_.usedSignals())
        ui->SignalListBox->addItem(QString::fromStdString(signalDisplayName(signal)));
    ui->SignalListBox->setCurrentRow(std::min(netRow, ui->SignalListBox->count() - 1));
}

void TConfigureWaveForm::setBuilding(bool building) {
    ui->SignalNameEdit->setEnabled(!building);
    ui->SimpleBox->setEnabled(!building);
    ui->BusBox->setEnabled(!building);
    ui->TopBusEdit->setEnabled(!building && ui->BusBox->isChecked());
    ui->NextStepBtn->setEnabled(!building);
    ui->AssignPinsLabel->setEnabled(building);
    ui->AssignedPinBox->setEnabled(building);
    ui->AddToSignalsBtn->setEnabled(building);
    ui->DiscardNewSignalBtn->setEnabled(building);
}

void TConfigureWaveForm::nextStep() {
    const NewNetCheck check =
        checkNewNet(nets_, ui->SignalNameEdit->text().toStdString(), ui->BusBox->isChecked(),
                    ui->TopBusEdit->text().toStdString());
    if (!check.error.empty()) {
        messages_.error(check.error);
        return;
    }
    TSignal net;
    net.name = ui->SignalNameEdit->text().toStdString();
    net.width = check.width;
    building_ = net;
    setBuilding(true);
    refreshLists();
    ui->AssignedPinBox->setCurrentRow(0);
}

void TConfigureWaveForm::assignLine(int line, int pin) {
    if (!building_ || line < 0 || line >= kMaxSignalWidth || pin < 0 || pin >= building_->width)
        return;
    building_->pins[static_cast<std::size_t>(pin)] = {static_cast<std::uint16_t>(1u << line),
                                                      static_cast<std::int8_t>(line - pin)};
    refreshLists();
}

void TConfigureWaveForm::addToNets() {
    if (!building_) return;
    for (const PinEntry& pin : building_->usedPins()) {
        if (pin.mask == 0) {
            messages_.error("Prvok obsahuje nepriradeny pin");
            return;
        }
    }
    nets_.signals[static_cast<std::size_t>(nets_.signalCount++)] = *building_;
    building_.reset();
    ui->SignalNameEdit->clear();
    setBuilding(false);
    refreshLists();
}

void TConfigureWaveForm::discardNewNet() {
    building_.reset();
    setBuilding(false);
    refreshLists();
}

void TConfigureWaveForm::moveNet(int direction) {
    const int moved = ::moveNet(nets_, ui->SignalListBox->currentRow(), direction);
    if (moved < 0) return;
    refreshLists();
    ui->SignalListBox->setCurrentRow(moved);
}

void TConfigureWaveForm::removeNet() {
    if (!::removeNet(nets_, ui->SignalListBox->currentRow())) return;
    refreshLists();
}
