// The frequency and trigger panels in the real program, worked with the mouse and keys as an
// operator works them, and judged by the virtual instrument's final state and by the
// "Settings.dat" written at exit.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <regex>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

// The main window's client area holds the boxes 554 pixels high below the menu bar; positions
// are those of the form, within the client area.
constexpr int ClientAreaHeight = 554;

struct MainWindow {
    const e2e::Desktop& desktop;
    e2e::Window window;

    int menuHeight() const { return window.height - ClientAreaHeight; }
    void click(int x, int y) const { desktop.click(window, x, menuHeight() + y); }
};

// The value of a key of "Settings.dat" (the first one of that name).
std::string settingsValue(const std::string& text, const std::string& key) {
    const std::regex line("(^|\n)" + key + " = ([^\r\n]*)");
    std::smatch found;
    return std::regex_search(text, found, line) ? found[2].str() : std::string();
}

}  // namespace

TEST(PanelsEndToEndTest, TypedFrequencyAndTriggerReachTheInstrumentAndTheSettings) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const MainWindow main{desktop, desktop.waitForWindow("^Q745$")};

    // "FreqEdit": a new frequency and Return; "Set" sends it.
    main.click(85, 129);
    desktop.key(main.window, "ctrl+a");
    desktop.type(main.window, "12.5k");
    desktop.key(main.window, "Return");
    main.click(425, 102);
    // Trigger "On", then the trailing edge that appears.
    main.click(500, 79);
    main.click(619, 79);
    // Marks on the 1 kHz and 1 MHz ticks of the logarithmic scale, then "Zoom in".
    main.click(10 + 217, 50);
    main.click(10 + 368, 50);
    main.click(41, 102);
    desktop.screenshot(main.window, e2e::Desktop::screenshotPath("analog-scale-zoomed.png"));

    desktop.closeThroughWindowManager(main.window);
    desktop.key(desktop.waitForWindow("^Warning$"), "Return");
    ASSERT_EQ(program.waitForExit(), 0);

    const QJsonObject instrument = program.instrumentLog().instrument();
    const double played = instrument.value("channels")
                              .toArray()
                              .at(0)
                              .toObject()
                              .value("signalFrequencyHz")
                              .toDouble();
    EXPECT_NEAR(played, 12500, 1);
    const QJsonObject trigger = instrument.value("trigger").toObject();
    EXPECT_TRUE(trigger.value("externalTrigger").toBool());
    EXPECT_EQ(trigger.value("edge").toString(), "trailing");

    const std::string settings = installation.fileText("Settings.dat");
    EXPECT_EQ(settingsValue(settings, "Frequency"), "12500");
    EXPECT_NEAR(std::stod(settingsValue(settings, "Real frequency")), played, 0.01)
        << "the green marker: what the instrument plays";
    EXPECT_EQ(settingsValue(settings, "Trigger"), "On");
    EXPECT_EQ(settingsValue(settings, "Trigger edge"), "Trailing");
    EXPECT_EQ(settingsValue(settings, "Synchro pulses out"), "Off");
}
