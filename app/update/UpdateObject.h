#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "core/RegistryValue.h"
#include "update/UpdateList.h"

class AppState;
class HttpClient;
class QWidget;
class TDownloadForm;
class TListAcquireForm;
class UserMessages;

// The update check and download: reads the update list from the maker's server, shows the
// listed versions, downloads the chosen one into "Updates" and starts its installer, and keeps
// the proxy settings of both. One transfer at a time: state 0 idle, 1 reading the list,
// 2 downloading a file. The main window is disabled while the list or the download window
// exists.
class TUpdateObject : public QObject {
    Q_OBJECT

public:
    // Starts program (made executable) in folder; false when it could not be started.
    using ProgramStarter = std::function<bool(const QString& program, const QString& folder)>;
    // Reads a value of the current user's internet settings.
    using SettingsReader = std::function<RegistryValue(std::string_view name)>;

    TUpdateObject(HttpClient& http, AppState& state, UserMessages& messages,
                  QWidget* mainWindow = nullptr);
    ~TUpdateObject() override;

    void checkForUpdates();
    void downloadUpdate();
    void internetSettings();

    // Ends the program through its normal shut-down (the installer runs).
    void setProgramEnder(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }
    void setProgramStarter(ProgramStarter start) { startProgram_ = std::move(start); }
    void setSettingsReader(SettingsReader read) { readSettings_ = std::move(read); }

    int state() const { return state_; }
    const std::vector<TUpdate>& updates() const { return updates_; }
    // The windows while they exist.
    TListAcquireForm* listWindow() const { return listWindow_.get(); }
    TDownloadForm* downloadWindow() const { return downloadWindow_.get(); }

    // The folder of the downloads, in the working directory.
    static constexpr const char* UpdatesFolder = "Updates";

private:
    void applyProxySettings();
    void download(const TUpdate& update);
    void install(const QString& fileName);
    void showStatus(const QString& text);
    void freeListWindow();
    void freeDownloadWindow();
    void setMainWindowEnabled(bool enabled);

    // Handlers of the HTTP client.
    void connecting();
    void connected();
    void dataReceived(qint64 received, qint64 total);
    void succeeded();
    void failed();
    void connectionFailed();
    void aborted();

    HttpClient& http_;
    AppState& appState_;
    UserMessages& messages_;
    QPointer<QWidget> mainWindow_;
    std::function<void()> endProgram_;
    ProgramStarter startProgram_;
    SettingsReader readSettings_;

    std::vector<TUpdate> updates_;
    int state_ = 0;
    bool report_ = true;
    QElapsedTimer startTick_;
    bool completed_ = false;
    bool firstData_ = false;
    std::unique_ptr<TListAcquireForm> listWindow_;
    std::unique_ptr<TDownloadForm> downloadWindow_;
};
