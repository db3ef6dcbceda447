#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "device/DeviceSettings.h"

class DriverApi;

namespace Ui {
class TCommSettingsForm;
}

// "Settings of communication": the interface, the parallel port's address and the device index
// that the next start uses. The device list shows which indices answer on the interface in
// use; the other interface cannot be probed while this one is open.
class TCommSettingsForm : public QDialog {
    Q_OBJECT

public:
    // interfaceInUse: 0 parallel, 1 USB, as the instrument was opened at start.
    TCommSettingsForm(DriverApi& driver, const DeviceSettings& configured,
                      std::int32_t interfaceInUse, QWidget* parent = nullptr);
    ~TCommSettingsForm() override;

    Ui::TCommSettingsForm& controls() { return *ui; }
    // What the dialog shows.
    DeviceSettings chosen() const;

    // The interface choice changed: the device list of that interface.
    void InterfaceBoxChange();

private:
    std::unique_ptr<Ui::TCommSettingsForm> ui;
    DriverApi& driver_;
    DeviceSettings configured_;
    std::int32_t interfaceInUse_;
};
