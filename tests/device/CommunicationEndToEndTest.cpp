// The communication dialog in the real program: a device index chosen from the menu is the
// one the instrument is opened at after the next start.
#include <gtest/gtest.h>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

// "Settings" is the fourth entry of the menu bar; "Communication" the last of its menu.
e2e::RealProgram::Options onInstruments(const std::string& instruments) {
    e2e::RealProgram::Options options;
    options.instrument = instruments;
    return options;
}

void openCommunication(const e2e::Desktop& desktop, const e2e::Window& main) {
    desktop.click(main, 170, 10);
    desktop.key("Up Return");
}

}  // namespace

TEST(CommunicationEndToEndTest, ChosenDeviceIndexIsOpenedAtTheNextStart) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    {
        e2e::RealProgram program(desktop, installation, onInstruments("parallel:0,parallel:5"));
        const e2e::Window main = desktop.waitForWindow("^Q745$");
        openCommunication(desktop, main);
        const e2e::Window dialog = desktop.waitForWindow("^Settings of communication$");
        desktop.screenshot(dialog, e2e::Desktop::screenshotPath("communication.png"));
        // Interface, then the device list (the port list is disabled).
        desktop.key(dialog, "Tab Down Down Down Down Down");
        desktop.key(dialog, "Return");
        desktop.key(desktop.waitForWindow("^Information$"), "Return");
        desktop.closeThroughWindowManager(main);
        desktop.key(desktop.waitForWindow("^Warning$"), "Return");
        EXPECT_EQ(program.waitForExit(), 0);
    }
    EXPECT_NE(installation.fileText("Settings.dat").find("Base address = 5"), std::string::npos);

    e2e::RealProgram program(desktop, installation, onInstruments("parallel:5"));
    desktop.waitForWindow("^Q745$");
    EXPECT_TRUE(desktop.findWindows("^(Confirm|Error|Warning)$").empty())
        << "no search for the instrument: " << desktop.describeScreen();
    EXPECT_EQ(program.terminate(), 0);
    const QJsonObject instrument = program.instrumentLog().instrument(0);
    EXPECT_EQ(instrument.value("deviceIndex").toInt(), 5);
    EXPECT_TRUE(instrument.value("configured").toBool());
}
