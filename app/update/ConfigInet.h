#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string_view>

#include "core/RegistryValue.h"

class AppState;
class UserMessages;

namespace Ui {
class TConfigInetForm;
}

// "Connection settings": whether the update check and download use a proxy, and which. "Get
// settings from IE" takes the desktop's proxy into the settings at once; "Ok" stores what the
// dialog shows.
class TConfigInetForm : public QDialog {
    Q_OBJECT

public:
    // Reads a value of the current user's internet settings ("ProxyEnable", "ProxyServer").
    using SettingsReader = std::function<RegistryValue(std::string_view name)>;

    TConfigInetForm(AppState& state, UserMessages& messages, SettingsReader readSettings,
                    QWidget* parent = nullptr);
    ~TConfigInetForm() override;

    Ui::TConfigInetForm& controls() { return *ui; }

private:
    void fillFromState();
    void useProxyToggled(bool on);
    void takeDesktopSettings();
    void okClicked();

    std::unique_ptr<Ui::TConfigInetForm> ui;
    AppState& state_;
    UserMessages& messages_;
    SettingsReader readSettings_;
};
