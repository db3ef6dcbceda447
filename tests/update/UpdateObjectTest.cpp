// The update check and download against HTTP servers of the test itself on 127.0.0.1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include "../waves/TempFolder.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "TestHttpServer.h"
#include "core/AppState.h"
#include "ui_ConfigInet.h"
#include "ui_UpdateScreen.h"
#include "update/ConfigInet.h"
#include "update/DownloadScreen.h"
#include "update/HttpClient.h"
#include "update/ListAcquire.h"
#include "update/UpdateObject.h"
#include "update/UpdateScreen.h"

namespace {

const QByteArray ListPath = "/products/q745/update/q745NS.txt";
const std::string Latest = "Mate poslednu verziu programu.";
const std::string Newer = "Novsia verzia program existuje.";
const std::string Done = "Stahovanie ukoncene";
const std::string InstallNow = "Chcete nainstalovat update teraz ?";

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest() : previousDirectory_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(folder.path().string()));
        state.startDirectory = folder.path().string();
        state.programVersion = {1, 0, 0, 0};
        state.updateListLocation = server.url(ListPath).toStdString();
    }
    ~UpdateTest() override { QDir::setCurrent(previousDirectory_); }

    // A list offering the installer q745.run in one version.
    void offerInstaller(const char* version, const QByteArray& installer) {
        server.resources[ListPath] = {server.url("/files/q745.run").toLatin1() + ";" + version +
                                      ";q745.run;\r\n"};
        server.resources["/files/q745.run"] = {installer};
    }
    QString downloaded() const { return QDir(folder.path()).filePath("Updates/q745.run"); }

    // The operator chooses the first row and downloads it.
    static void downloadFirstRow(QWidget* window) {
        auto* form = qobject_cast<TUpdateForm*>(window);
        ASSERT_NE(form, nullptr);
        QTableWidget* grid = form->controls().AvailUpdates;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(0, 1)).center());
        form->controls().DownloadBtn->click();
    }

    TempFolder folder;
    TestHttpServer server;
    AppState state;
    RecordingMessages messages;
    HttpClient http;
    QWidget mainWindow;
    TUpdateObject updates{http, state, messages, &mainWindow};

private:
    QString previousDirectory_;
};

}  // namespace

TEST_F(UpdateTest, OwnVersionIsTheLatestAndDownloadWaitsForAChosenRow) {
    offerInstaller("1.0.0.0", QByteArray(200000, 'x'));
    bool mainWindowDisabled = false;
    QObject::connect(&http, &HttpClient::connected, [&] {
        if (updates.listWindow())
            mainWindowDisabled = !mainWindow.isEnabled() && updates.listWindow()->isVisible();
    });
    updates.checkForUpdates();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{Latest});
    EXPECT_TRUE(mainWindowDisabled);
    EXPECT_EQ(updates.state(), 0);
    EXPECT_EQ(updates.listWindow(), nullptr);

    whenModalShown([&](QWidget* window) {
        auto* form = qobject_cast<TUpdateForm*>(window);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->controls().StatusLabel->text(), "You have latest version");
        EXPECT_EQ(form->controls().CurrVerLabel->text(), "1.0.0.0");
        EXPECT_EQ(form->controls().AvailUpdates->item(0, 0)->text(), "Same");
        form->controls().DownloadBtn->click();
        EXPECT_EQ(messages.texts().back(), "Zvolte si update");
        EXPECT_TRUE(form->isVisible());
        downloadFirstRow(form);
    });
    QSignalSpy received(&http, &HttpClient::dataReceived);
    // Yes to the installation, but the installer does not start: the program goes on.
    messages.answers = {MessageResult::Yes};
    updates.setProgramStarter([](const QString&, const QString&) { return false; });
    bool ended = false;
    updates.setProgramEnder([&] { ended = true; });
    updates.downloadUpdate();

    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{Latest, "Zvolte si update", Done, InstallNow,
                                        "Nie je mozne spustit instalaciu"}));
    EXPECT_FALSE(ended);
    EXPECT_EQ(server.requestLines.size(), 2) << "the list read before is used";
    EXPECT_GT(received.size(), 0);
    QFile file(downloaded());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(200000, 'x'));
    EXPECT_EQ(updates.downloadWindow(), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(UpdateTest, GridShowsAgesAndPreselectsTheLaterOfTheNewest) {
    const std::vector<TUpdate> list = parseUpdateList(
        "http://h/o;0.9.0.0;o.run\n"
        "http://h/a;2.0.0.0;a.run\n"
        "http://h/t;3.0.0\n"
        "http://h/e;3.0.0.0;../e.run\n"
        "http://h/b;2.0.0.0;b.run\n");
    TUpdateForm form(list, {1, 0, 0, 0}, messages);
    const QTableWidget& grid = *form.controls().AvailUpdates;
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.item(0, 0)->text(), "Old");
    EXPECT_EQ(grid.item(1, 0)->text(), "New");
    EXPECT_EQ(grid.item(2, 2)->text(), "2.0.0.0");
    EXPECT_EQ(grid.horizontalHeaderItem(3)->text(), "FileName");
    EXPECT_EQ(form.controls().StatusLabel->text(), "New version exists");
    EXPECT_EQ(form.selectedRow(), 2);
}

TEST_F(UpdateTest, DownloadBrokenHalfWayLeavesNoFile) {
    offerInstaller("1.0.0.1", QByteArray(300000, 'y'));
    server.resources["/files/q745.run"].sent = 150000;
    whenModalShown(downloadFirstRow);
    QSignalSpy received(&http, &HttpClient::dataReceived);
    updates.downloadUpdate();

    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Nie je mozne stiahnut subor.\r\nSkuste neskor, prosim"});
    EXPECT_GT(received.size(), 0) << "part of the file was written";
    EXPECT_FALSE(QFile::exists(downloaded()));
    EXPECT_TRUE(QDir(folder.path()).exists("Updates"));
    EXPECT_EQ(updates.state(), 0);
}

// While a file downloads, the other commands are refused; closing the window aborts it.
TEST_F(UpdateTest, ClosedDownloadWindowAbortsTheTransfer) {
    offerInstaller("1.0.0.1", QByteArray(300000, 'z'));
    server.resources["/files/q745.run"].chunkBytes = 10000;
    server.resources["/files/q745.run"].chunkIntervalMs = 20;
    updates.checkForUpdates();
    messages.calls.clear();
    QObject::connect(&http, &HttpClient::dataReceived, [&] {
        if (!updates.downloadWindow() || !messages.calls.empty()) return;
        updates.checkForUpdates();
        updates.downloadUpdate();
        updates.internetSettings();
        EXPECT_TRUE(QFile::exists(downloaded()));
        updates.downloadWindow()->close();
    });
    whenModalShown(downloadFirstRow);
    updates.downloadUpdate();

    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{
                  "Nie je mozne stiahnut zoznam novsich verzii, pretoze ina operacie bezi",
                  "Nie je mozne stiahnut update, pretoze ina operacia bezi",
                  "Nie je mozne konfigurovat pripojenie, pretoze ina operacia bezi"}))
        << "and nothing about the abort";
    EXPECT_FALSE(QFile::exists(downloaded()));
    EXPECT_EQ(updates.downloadWindow(), nullptr);
    EXPECT_EQ(updates.state(), 0);
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(UpdateTest, UnreachableServerAndAMissingList) {
    updates.checkForUpdates();
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Nie je mozne ziskat zoznam novych verzii"})
        << "the server has no list";

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    state.updateListLocation =
        QString("http://127.0.0.1:%1/list.txt").arg(closed.serverPort()).toStdString();
    closed.close();
    messages.calls.clear();
    updates.downloadUpdate();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne sa pripojit k serveru"});
    EXPECT_TRUE(updates.updates().empty());
    EXPECT_TRUE(mainWindow.isEnabled());

    QFile list("list.txt");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("http://h/x;9.0.0.0;x.run\n");
    list.close();
    state.updateListLocation = "file://" + QFileInfo(list).absoluteFilePath().toStdString();
    messages.calls.clear();
    updates.checkForUpdates();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne sa pripojit k serveru"})
        << "no local file for a server";
}

// The list's host does not resolve, so only the proxy can answer; the proxy comes from the
// desktop's settings, which list an ftp proxy before the http one.
TEST_F(UpdateTest, ListAndFileThroughTheDesktopsProxy) {
    state.updateListLocation = "http://update.invalid" + ListPath.toStdString();
    server.resources[ListPath] = {"http://update.invalid/files/q745.run;1.2.0.0;q745.run\n"};
    server.resources["/files/q745.run"] = {"#!/bin/sh\npwd > started\n"};
    updates.setSettingsReader([&](std::string_view name) {
        if (name == "ProxyEnable") return RegistryValue::ofInteger(1);
        return RegistryValue::ofText("ftp=127.0.0.1:1;http=127.0.0.1:" +
                                     std::to_string(server.port()));
    });
    whenModalShown([](QWidget* window) {
        auto* form = qobject_cast<TConfigInetForm*>(window);
        ASSERT_NE(form, nullptr);
        form->controls().Button1->click();
        EXPECT_EQ(form->controls().Edit1->text(), "127.0.0.1");
        EXPECT_TRUE(form->controls().Edit2->isEnabled());
        form->controls().CancelBtn->click();
    });
    updates.internetSettings();
    EXPECT_TRUE(state.useProxy) << "taken even though the dialog was cancelled";
    EXPECT_EQ(state.proxyPort, server.port());

    updates.checkForUpdates();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{Newer});
    ASSERT_FALSE(server.requestLines.isEmpty());
    EXPECT_EQ(server.requestLines[0], "GET http://update.invalid" + ListPath + " HTTP/1.1");

    // Yes to the installation: the installer runs in "Updates" and the program ends.
    messages.answers = {MessageResult::Yes};
    int ended = 0;
    updates.setProgramEnder([&] { ++ended; });
    whenModalShown(downloadFirstRow);
    updates.downloadUpdate();
    EXPECT_EQ(messages.texts().back(), InstallNow);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(QFileInfo(downloaded()).isExecutable());
    QFile started(QDir(folder.path()).filePath("Updates/started"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return started.size() > 0; }, 10000));
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(QFileInfo(QString::fromUtf8(started.readAll().trimmed())).canonicalFilePath(),
              QFileInfo(QDir(folder.path()).filePath("Updates")).canonicalFilePath());
    EXPECT_EQ(QDir::currentPath(), QString::fromStdString(folder.path().string()));
}

TEST_F(UpdateTest, ProxyPortMustBeANumber) {
    whenModalShown([](QWidget* window) {
        auto* form = qobject_cast<TConfigInetForm*>(window);
        ASSERT_NE(form, nullptr);
        EXPECT_FALSE(form->controls().Edit1->isEnabled());
        form->controls().CheckBox1->click();
        form->controls().Edit1->setText("proxy.lan");
        form->controls().Edit2->setText("80a");
        form->controls().OkBtn->click();
        EXPECT_TRUE(form->isVisible());
        form->controls().Edit2->setText("8080");
        form->controls().OkBtn->click();
    });
    updates.internetSettings();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nespravne cislo portu"});
    EXPECT_TRUE(state.useProxy);
    EXPECT_EQ(state.proxyAddress, "proxy.lan");
    EXPECT_EQ(state.proxyPort, 8080);
}
