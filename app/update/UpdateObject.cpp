#include "update/UpdateObject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <climits>

#include "core/AppState.h"
#include "core/UnitFormat.h"
#include "core/UserMessages.h"
#include "platform/InternetSettings.h"
#include "ui_DownloadScreen.h"
#include "update/ConfigInet.h"
#include "update/DownloadFigures.h"
#include "update/DownloadScreen.h"
#include "update/HttpClient.h"
#include "update/ListAcquire.h"
#include "update/UpdateScreen.h"

namespace {

constexpr const char* ListBusy =
    "Nie je mozne stiahnut zoznam novsich verzii, pretoze ina operacie bezi";
constexpr const char* DownloadBusy = "Nie je mozne stiahnut update, pretoze ina operacia bezi";
constexpr const char* SettingsBusy =
    "Nie je mozne konfigurovat pripojenie, pretoze ina operacia bezi";
constexpr const char* NewerExists = "Novsia verzia program existuje.";
constexpr const char* LatestVersion = "Mate poslednu verziu programu.";
constexpr const char* ListFailed = "Nie je mozne ziskat zoznam novych verzii";
constexpr const char* NoConnection = "Nie je mozne sa pripojit k serveru";
constexpr const char* DownloadFailed = "Nie je mozne stiahnut subor.\r\nSkuste neskor, prosim";
constexpr const char* DownloadDone = "Stahovanie ukoncene";
constexpr const char* InstallNow = "Chcete nainstalovat update teraz ?";
constexpr const char* InstallerNotStarted = "Nie je mozne spustit instalaciu";

bool startDetached(const QString& program, const QString& folder) {
    return QProcess::startDetached(program, {}, folder);
}

// A downloaded installer keeps the read permissions it was written with and may run for
// whoever may read it.
void makeExecutable(const QString& fileName) {
    QFile::Permissions permissions = QFile::permissions(fileName);
    permissions |= QFile::ExeOwner | QFile::ExeUser;
    if (permissions & QFile::ReadGroup) permissions |= QFile::ExeGroup;
    if (permissions & QFile::ReadOther) permissions |= QFile::ExeOther;
    QFile::setPermissions(fileName, permissions);
}

}  // namespace

TUpdateObject::TUpdateObject(HttpClient& http, AppState& state, UserMessages& messages,
                             QWidget* mainWindow)
    : http_(http),
      appState_(state),
      messages_(messages),
      mainWindow_(mainWindow),
      startProgram_(startDetached) {
    readSettings_ = [this](std::string_view name) {
        const QString host = QUrl(QString::fromStdString(appState_.updateListLocation)).host();
        return InternetSettings(host.toStdString()).value(name);
    };
    connect(&http_, &HttpClient::connecting, this, &TUpdateObject::connecting);
    connect(&http_, &HttpClient::connected, this, &TUpdateObject::connected);
    connect(&http_, &HttpClient::dataReceived, this, &TUpdateObject::dataReceived);
    connect(&http_, &HttpClient::succeeded, this, &TUpdateObject::succeeded);
    connect(&http_, &HttpClient::failed, this, &TUpdateObject::failed);
    connect(&http_, &HttpClient::connectionFailed, this, &TUpdateObject::connectionFailed);
    connect(&http_, &HttpClient::aborted, this, &TUpdateObject::aborted);
}

TUpdateObject::~TUpdateObject() {
    http_.disconnect(this);
}

void TUpdateObject::applyProxySettings() {
    if (appState_.useProxy)
        http_.setProxy(QString::fromStdString(appState_.proxyAddress), appState_.proxyPort);
    else
        http_.setProxy(QString(), 0);
}

void TUpdateObject::setMainWindowEnabled(bool enabled) {
    if (mainWindow_) mainWindow_->setEnabled(enabled);
}

void TUpdateObject::freeListWindow() {
    if (!listWindow_) return;
    listWindow_.reset();
    setMainWindowEnabled(true);
}

void TUpdateObject::freeDownloadWindow() {
    if (!downloadWindow_) return;
    downloadWindow_.reset();
    setMainWindowEnabled(true);
}

void TUpdateObject::checkForUpdates() {
    if (state_ != 0) {
        messages_.error(ListBusy);
        return;
    }
    if (report_) applyProxySettings();
    // Without a parent: the disabled main window would disable it too.
    listWindow_ = std::make_unique<TListAcquireForm>();
    connect(listWindow_.get(), &TListAcquireForm::closeRequested, &http_, &HttpClient::abort,
            Qt::QueuedConnection);
    setMainWindowEnabled(false);
    listWindow_->show();
    state_ = 1;
    http_.get(QUrl(QString::fromStdString(appState_.updateListLocation)));
    freeListWindow();
    state_ = 0;
}

void TUpdateObject::downloadUpdate() {
    if (state_ != 0) {
        messages_.error(DownloadBusy);
        return;
    }
    applyProxySettings();
    report_ = false;
    if (updates_.empty()) checkForUpdates();
    report_ = true;
    if (updates_.empty()) return;

    TUpdateForm form(updates_, appState_.programVersion, messages_, mainWindow_);
    if (form.exec() == QDialog::Accepted && form.selectedRow() >= 0) {
        const TUpdate update = updates_[static_cast<std::size_t>(form.selectedRow())];
        download(update);
    }
    state_ = 0;
}

void TUpdateObject::download(const TUpdate& update) {
    QDir().mkpath(UpdatesFolder);
    state_ = 2;
    startTick_.invalidate();
    const QString fileName = QDir(UpdatesFolder).filePath(QString::fromLatin1(update.fileName));
    downloadWindow_ = std::make_unique<TDownloadForm>();
    Ui::TDownloadForm& window = downloadWindow_->controls();
    window.UrlLabel->setText(QString::fromLatin1(update.url));
    window.VersionLabel->setText(QString::fromStdString(versionText(update)));
    window.FileNameLabel->setText(fileName);
    window.ProgressLabel->setText(QStringLiteral("Finding host ..."));
    connect(downloadWindow_.get(), &TDownloadForm::closeRequested, &http_, &HttpClient::abort,
            Qt::QueuedConnection);
    setMainWindowEnabled(false);
    downloadWindow_->show();
    completed_ = false;

    if (QFile::exists(fileName)) QFile::remove(fileName);
    http_.getToFile(QUrl(QString::fromLatin1(update.url)), fileName);
    freeDownloadWindow();
    if (!completed_) {
        if (QFile::exists(fileName)) QFile::remove(fileName);
    } else if (messages_.ask(InstallNow)) {
        install(fileName);
    }
    QDir::setCurrent(QString::fromStdString(appState_.startDirectory));
}

void TUpdateObject::install(const QString& fileName) {
    const QString program = QFileInfo(fileName).absoluteFilePath();
    QDir::setCurrent(UpdatesFolder);
    makeExecutable(program);
    if (!startProgram_(program, QDir::currentPath())) {
        messages_.error(InstallerNotStarted);
        return;
    }
    if (endProgram_) endProgram_();
}

void TUpdateObject::internetSettings() {
    if (state_ != 0) {
        messages_.error(SettingsBusy);
        return;
    }
    TConfigInetForm form(appState_, messages_, readSettings_, mainWindow_);
    form.exec();
}

// ---------------------------------------------------------------- handlers

void TUpdateObject::showStatus(const QString& text) {
    if (state_ == 1 && listWindow_) listWindow_->ProgressLabel()->setText(text);
    if (state_ == 2 && downloadWindow_) downloadWindow_->controls().ProgressLabel->setText(text);
}

void TUpdateObject::connecting() {
    showStatus(QStringLiteral("Connecting to host ..."));
}

void TUpdateObject::connected() {
    if (state_ == 2) {
        startTick_.start();
        firstData_ = true;
    }
    showStatus(QStringLiteral("Connected ... Waiting for reply ..."));
}

void TUpdateObject::dataReceived(qint64 received, qint64 total) {
    if (state_ != 2 || !downloadWindow_) return;
    Ui::TDownloadForm& window = downloadWindow_->controls();
    // The gauge counts in kilobytes when the file is too long for its range.
    const qint64 unit = total > INT_MAX ? 1024 : 1;
    if (firstData_) {
        window.Gauge1->setMaximum(static_cast<int>(std::max<qint64>(total, 0) / unit));
        firstData_ = false;
    }
    const DownloadFigures figures =
        downloadFigures(received, total, startTick_.isValid() ? startTick_.elapsed() : 0);
    if (figures.timeRemaining)
        window.TimeLabel->setText(QString::fromStdString(*figures.timeRemaining));
    if (figures.speed) window.SpeedLabel->setText(QString::fromStdString(*figures.speed));
    if (total > 0) window.Gauge1->setValue(static_cast<int>(std::min(received, total) / unit));
    window.ProgressLabel->setText(QString::fromStdString(figures.progress));
}

void TUpdateObject::succeeded() {
    const qint64 received = http_.bytesReceived();
    // A server that announces no length ends the body by its own framing, which the client
    // has checked.
    const qint64 total = http_.bytesTotal() < 0 ? received : http_.bytesTotal();
    if (received != total) {
        failed();
        return;
    }
    if (state_ == 1) {
        const QByteArray& body = http_.body();
        updates_ = parseUpdateList(std::string_view(body.constData(), body.size()));
        const bool newer = std::any_of(updates_.begin(), updates_.end(), [&](const TUpdate& u) {
            return updateAge(u, appState_.programVersion) == UpdateAge::New;
        });
        if (report_) messages_.information(newer ? NewerExists : LatestVersion);
        state_ = 0;
    } else if (state_ == 2) {
        state_ = 0;
        freeDownloadWindow();
        messages_.information(DownloadDone);
        completed_ = true;
    }
}

void TUpdateObject::failed() {
    if (state_ == 1) {
        messages_.error(ListFailed);
    } else if (state_ == 2) {
        messages_.error(DownloadFailed);
        freeDownloadWindow();
    }
    state_ = 0;
}

void TUpdateObject::connectionFailed() {
    if (state_ == 1 || state_ == 2) messages_.error(NoConnection);
    if (state_ == 2) freeDownloadWindow();
    state_ = 0;
}

// The operator closed the window: nothing to tell.
void TUpdateObject::aborted() {
    freeDownloadWindow();
    state_ = 0;
}
