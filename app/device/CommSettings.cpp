#include "device/CommSettings.h"

#include <QLayout>
#include <array>

#include "device/DeviceAddressing.h"
#include "device/DriverApi.h"
#include "shell/DialogFlags.h"
#include "shell/WindowPlacement.h"
#include "ui_CommSettings.h"

namespace {
constexpr int DeviceCount = 16;
// The port driver of this platform variant chooses the port itself.
constexpr char PortChosenByDriver = 'N';
}  // namespace

TCommSettingsForm::TCommSettingsForm(DriverApi& driver, const DeviceSettings& configured,
                                     std::int32_t interfaceInUse, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::TCommSettingsForm>()),
      driver_(driver),
      configured_(configured),
      interfaceInUse_(interfaceInUse) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);

    ui->InterfaceBox->setCurrentIndex(configured.useUsb ? 1 : 0);
    // Also selects the configured device and disables the port choice where it does not apply.
    InterfaceBoxChange();
    connect(ui->InterfaceBox, &QComboBox::currentIndexChanged, this,
            &TCommSettingsForm::InterfaceBoxChange);
    ui->PortBox->setCurrentIndex(portItemOfAddress(configured.portAddress));
    centerOnScreen(*this);
}

TCommSettingsForm::~TCommSettingsForm() = default;

DeviceSettings TCommSettingsForm::chosen() const {
    DeviceSettings settings;
    settings.useUsb = ui->InterfaceBox->currentIndex() == 1;
    settings.portAddress = portAddressOfItem(ui->PortBox->currentIndex());
    settings.baseAddressIndex = ui->DeviceBox->currentIndex();
    return settings;
}

void TCommSettingsForm::InterfaceBoxChange() {
    const int selected = ui->InterfaceBox->currentIndex();
    QStringList items;
    if (selected != interfaceInUse_) {
        for (int k = 0; k < DeviceCount; ++k)
            items << QString::fromStdString(unprobedDeviceItemText(k));
    } else {
        std::array<std::uint8_t, DeviceCount> list{};
        driver_.GetAllDevices(list.data());
        for (int k = 0; k < DeviceCount; ++k)
            items << QString::fromStdString(deviceItemText(k, list[static_cast<std::size_t>(k)]));
    }
    ui->DeviceBox->clear();
    ui->DeviceBox->addItems(items);
    if (selected == 1 || driver_.GetVersionCode() == PortChosenByDriver)
        ui->PortBox->setEnabled(false);
    ui->DeviceBox->setCurrentIndex(configured_.baseAddressIndex);
}
