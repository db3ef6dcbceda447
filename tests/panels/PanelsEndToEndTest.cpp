// The frequency and trigger panels in the real program, worked with the mouse and keys as an
// operator works them, and judged by the virtual instrument's final state and by the
// "Settings.dat" written at exit.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

struct MainWindow {
    const e2e::Desktop& desktop;
    e2e::Window window;

    int menuHeight() const { return e2e::formTop(window); }
    void click(int x, int y) const { desktop.click(window, x, menuHeight() + y); }
};

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
    EXPECT_EQ(e2e::settingValue(settings, "Frequency"), "12500");
    EXPECT_NEAR(std::stod(e2e::settingValue(settings, "Real frequency")), played, 0.01)
        << "the green marker: what the instrument plays";
    EXPECT_EQ(e2e::settingValue(settings, "Trigger"), "On");
    EXPECT_EQ(e2e::settingValue(settings, "Trigger edge"), "Trailing");
    EXPECT_EQ(e2e::settingValue(settings, "Synchro pulses out"), "Off");
}
