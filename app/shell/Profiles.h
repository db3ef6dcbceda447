#pragma once

#include <QString>
#include <functional>

class AppState;
class QWidget;
class SettingsBinding;
class TVirtualGenerator;
class UserMessages;
class VirtualDriver;
struct WaveformStore;

// "Save profile" and "Open profile": whole settings kept as ".ini" files in the folder
// "Profiles" of the start directory. Opening a profile applies every setting of it (not the
// communication settings, and not the mode: "Interface mode" only takes effect at the next
// start) and sends the current mode's whole setting to the instrument in one go.
class Profiles {
public:
    // Asks for a profile file in the folder; empty when cancelled.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& folder, bool save)>;
    // After a profile was applied and sent: the waveform displays and the channel panels
    // refresh.
    using ReloadHandler = std::function<void()>;

    Profiles(AppState& state, SettingsBinding& settings, TVirtualGenerator& generator,
             VirtualDriver& driver, const WaveformStore& store, UserMessages& messages);

    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }
    void setReloadHandler(ReloadHandler handler) { reload_ = std::move(handler); }
    // After the profile's whole setting was sent: the trigger panel, whose switches the mode's
    // setting does not hold, sends its own.
    void setSentHandler(ReloadHandler handler) { sent_ = std::move(handler); }

    void saveProfile(QWidget* parent);
    void openProfile(QWidget* parent);

    // The file dialogs "SaveProfileDialog" and "OpenProfileDialog".
    static QString askWithDialog(QWidget* parent, const QString& folder, bool save);

private:
    QString profilesFolder() const;
    void backToStartDirectory() const;

    AppState& state_;
    SettingsBinding& settings_;
    TVirtualGenerator& generator_;
    VirtualDriver& driver_;
    const WaveformStore& store_;
    UserMessages& messages_;
    FileNameAsker askFileName_ = askWithDialog;
    ReloadHandler reload_;
    ReloadHandler sent_;
};
