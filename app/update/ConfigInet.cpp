#include "update/ConfigInet.h"

#include <QLayout>

#include "core/AppState.h"
#include "core/UserMessages.h"
#include "shell/DialogFlags.h"
#include "shell/WindowPlacement.h"
#include "ui_ConfigInet.h"
#include "update/InternetProxy.h"

TConfigInetForm::TConfigInetForm(AppState& state, UserMessages& messages,
                                 SettingsReader readSettings, QWidget* parent)
    : QDialog(parent, kFixedDialogWithMinimiseFlags),
      ui(std::make_unique<Ui::TConfigInetForm>()),
      state_(state),
      messages_(messages),
      readSettings_(std::move(readSettings)) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    fillFromState();
    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TConfigInetForm::useProxyToggled);
    connect(ui->Button1, &QPushButton::clicked, this, &TConfigInetForm::takeDesktopSettings);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TConfigInetForm::okClicked);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    centerOnScreen(*this);
}

TConfigInetForm::~TConfigInetForm() = default;

void TConfigInetForm::fillFromState() {
    ui->CheckBox1->setChecked(state_.useProxy);
    useProxyToggled(state_.useProxy);
    ui->Edit1->setText(QString::fromStdString(state_.proxyAddress));
    ui->Edit2->setText(QString::number(state_.proxyPort));
}

void TConfigInetForm::useProxyToggled(bool on) {
    ui->Edit1->setEnabled(on);
    ui->Edit2->setEnabled(on);
}

void TConfigInetForm::takeDesktopSettings() {
    const RegistryValue enabled = readSettings_("ProxyEnable");
    const InternetProxyReading reading = readInternetProxy(enabled, readSettings_("ProxyServer"));
    if (reading.outcome == InternetProxyReading::Outcome::Failed) {
        messages_.error("Nie je mozne ziskat nastavenia internetu");
        return;
    }
    if (reading.outcome == InternetProxyReading::Outcome::Taken) {
        state_.proxyPort = reading.port;
        state_.proxyAddress = reading.address;
        state_.useProxy = true;
    }
    fillFromState();
}

void TConfigInetForm::okClicked() {
    const std::optional<std::int32_t> port =
        parsePortNumber(ui->Edit2->text().trimmed().toStdString());
    if (!port) {
        messages_.error("Nespravne cislo portu");
        return;
    }
    state_.proxyPort = *port;
    state_.useProxy = ui->CheckBox1->isChecked();
    state_.proxyAddress = ui->Edit1->text().trimmed().toStdString();
    accept();
}
