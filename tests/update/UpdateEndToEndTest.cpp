// The update download in the real program, from a server of the test: the newest version is
// downloaded into "Updates", its installer started and the program ended as at a normal exit.
#include <gtest/gtest.h>

#include <QThread>
#include <iostream>

#include "RealProgram.h"
#include "TestHttpServer.h"

namespace {

using namespace std::chrono_literals;

const QByteArray ListPath = "/products/q745/update/q745NS.txt";

// "Updates" is the sixth entry of the menu bar. A click moves the pointer: a second click must
// aim a little apart, as a move to where the pointer already is never ends.
void openUpdatesMenu(const e2e::Desktop& desktop, const e2e::Window& main, int aside = 0) {
    desktop.click(main, 282 + aside, 10);
}

// A window that closes by itself when its work is done: its picture is for looking at, and a
// busy machine may have closed it already.
void lookAt(const e2e::Desktop& desktop, const e2e::Window& window, const std::string& name) {
    try {
        desktop.screenshot(window, e2e::Desktop::screenshotPath(name));
    } catch (const e2e::Failure& gone) {
        std::cout << "no picture of " << window.title << ": " << gone.what() << "\n";
    }
}

}  // namespace

TEST(UpdateEndToEndTest, NewestVersionIsDownloadedAndItsInstallerEndsTheProgram) {
    // The installer notes where it ran; the file is sent slowly enough to be watched.
    QByteArray installer = "#!/bin/sh\npwd > installed\nexit 0\n";
    installer += QByteArray(400000, '#');
    TestHttpServerThread updates([&](int port) {
        const QByteArray files = "http://127.0.0.1:" + QByteArray::number(port) + "/files/";
        TestHttpServerThread::Resources resources;
        // The list comes late enough for its window to be seen.
        resources[ListPath] = {
            files + "old.run;0.9.0.0;old.run\n" + files + "q745-2.run;2.0.0.0;q745-2.run;\n", -1,
            4096, 2500};
        resources["/files/q745-2.run"] = {installer, -1, 40000, 300};
        return resources;
    });

    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram::Options options;
    options.environment["Q745_UPDATE_SERVER"] =
        "http://127.0.0.1:" + std::to_string(updates.port()) + "/";
    e2e::RealProgram program(desktop, installation, options);
    const e2e::Window main = desktop.waitForWindow("^Q745$");

    openUpdatesMenu(desktop, main);
    desktop.key("Up Return");
    const e2e::Window settings = desktop.waitForWindow("^Connection settings$");
    desktop.screenshot(settings, e2e::Desktop::screenshotPath("connection-settings.png"));
    desktop.key(settings, "Escape");
    ASSERT_TRUE(desktop.waitUntilGone("^Connection settings$"));

    openUpdatesMenu(desktop, main, 4);
    desktop.key("Down Down Return");
    lookAt(desktop, desktop.waitForWindow("^Acquiring list$"), "acquiring-list.png");
    const e2e::Window list = desktop.waitForWindow("^Available updates$");
    desktop.screenshot(list, e2e::Desktop::screenshotPath("available-updates.png"));
    desktop.key(list, "Return");
    const e2e::Window download = desktop.waitForWindow("^Downloading \\.\\.\\.$");
    QThread::msleep(1000);
    lookAt(desktop, download, "downloading.png");
    desktop.key(desktop.waitForWindow("^Information$", 20000ms), "Return");
    desktop.key(desktop.waitForWindow("^Confirm$"), "Return");

    EXPECT_EQ(program.waitForExit(), 0);
    const std::filesystem::path folder = installation.data() / "Updates";
    EXPECT_TRUE(e2e::waitFor([&] { return !e2e::fileText(folder / "installed").empty(); }, 10s));
    EXPECT_EQ(e2e::fileText(folder / "installed"),
              std::filesystem::canonical(folder).string() + "\n");
    EXPECT_EQ(std::filesystem::file_size(folder / "q745-2.run"),
              static_cast<std::uintmax_t>(installer.size()));
    EXPECT_FALSE(program.instrumentLog().portModes().back().value("connected").toBool())
        << "the port handed back as at a normal exit";
}
