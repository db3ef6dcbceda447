#include "shell/Profiles.h"

#include <QDir>
#include <QFileDialog>

#include "core/AppState.h"
#include "shell/SettingsBinding.h"
#include "core/UnitFormat.h"
#include "device/VirtualDriver.h"
#include "device/VirtualGenerator.h"
#include "waves/WaveformStore.h"

namespace {

constexpr const char* ProfilesFolderName = "Profiles";
constexpr const char* ProfileFilter = "Profile files (*.ini)";

}  // namespace

Profiles::Profiles(AppState& state, SettingsBinding& settings, TVirtualGenerator& generator,
                   VirtualDriver& driver, const WaveformStore& store, UserMessages& messages)
    : state_(state),
      settings_(settings),
      generator_(generator),
      driver_(driver),
      store_(store),
      messages_(messages) {}

QString Profiles::profilesFolder() const {
    const QDir start(QString::fromStdString(state_.startDirectory));
    // A new data folder has no profiles yet; the dialog should still open in the right place.
    start.mkpath(ProfilesFolderName);
    return start.filePath(ProfilesFolderName);
}

void Profiles::backToStartDirectory() const {
    QDir::setCurrent(QString::fromStdString(state_.startDirectory));
}

QString Profiles::askWithDialog(QWidget* parent, const QString& folder, bool save) {
    QFileDialog dialog(parent, save ? "Save profile" : "Open profile", folder, ProfileFilter);
    dialog.setObjectName(save ? "SaveProfileDialog" : "OpenProfileDialog");
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!save) dialog.setDefaultSuffix("ini");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void Profiles::saveProfile(QWidget* parent) {
    QString name = askFileName_(parent, profilesFolder(), true);
    if (!name.isEmpty()) {
        if (fileExtension(name.toStdString()).empty()) name += ".ini";
        settings_.write(name.toStdString(), messages_);
    }
    backToStartDirectory();
}

void Profiles::openProfile(QWidget* parent) {
    const QString name = askFileName_(parent, profilesFolder(), false);
    if (!name.isEmpty()) {
        driver_.setSuspended(true);
        settings_.read(name.toStdString(), false, messages_);
        // The analog waveforms of the profile's slots, filed as analog mode's.
        state_.pushMode(ModeAnalog);
        generator_.ChangeWave(0, store_.slots[static_cast<std::size_t>(state_.waveIndexA)]);
        generator_.ChangeWave(1, store_.slots[static_cast<std::size_t>(state_.waveIndexB)]);
        state_.popMode();
        if (reload_) reload_();
        driver_.setSuspended(false);
        generator_.ApplyMode(false);
        if (sent_) sent_();
    }
    backToStartDirectory();
}
