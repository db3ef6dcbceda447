// The channel panels in the real program: a level bar dragged, a filter chosen and the -20 dB
// attenuator pressed with the mouse reach the instrument and are what "Settings.dat" keeps.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QPoint>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

// Positions in the main window's client area (the form's layout below the menu bar).
constexpr QPoint GroupBoxA{2, 150};
constexpr QPoint GroupBoxB{572, 150};
constexpr QPoint LevelBar{8 + 8, 38};  // its middle column, its top
constexpr int LevelBarHeight = 356;
constexpr QPoint FilterBox{150 + 6 + 26, 318 + 18 + 11};
constexpr QPoint Output20Button{58 + 88 + 16, 16 + 156 + 10};
constexpr QPoint WaveformA{222 + 8, 150 + 18};

}  // namespace

TEST(ChannelPanelsEndToEndTest, LevelFilterAndAttenuatorReachTheInstrumentAndTheSettings) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    const int top = e2e::formTop(main);

    // The level bar's slider stands in the middle at code 2048; dragged up, the level rises.
    const int sliderY = top + GroupBoxA.y() + LevelBar.y() + LevelBarHeight / 2;
    const int barX = GroupBoxA.x() + LevelBar.x();
    desktop.drag(main, barX, sliderY, barX, sliderY - 80);
    // Channel A's filter: the list opens, its first item ("Low") is chosen.
    desktop.click(main, GroupBoxA.x() + FilterBox.x(), top + GroupBoxA.y() + FilterBox.y());
    desktop.key("Home Return");
    // Channel B behind the attenuator.
    desktop.click(main, GroupBoxB.x() + Output20Button.x(),
                  top + GroupBoxB.y() + Output20Button.y());
    // The pointer over waveform A draws its cursors.
    desktop.pointAt(main, WaveformA.x() + 40, top + WaveformA.y() + 20);
    desktop.screenshot(main, e2e::Desktop::screenshotPath("channel-panels.png"));

    desktop.closeThroughWindowManager(main);
    desktop.key(desktop.waitForWindow("^Warning$"), "Return");
    ASSERT_EQ(program.waitForExit(), 0);

    const std::string settings = installation.fileText("Settings.dat");
    const int level = std::stoi(e2e::settingValue(settings, "Channel A level"));
    EXPECT_GT(level, 2048 + 300) << "the dragged bar";
    EXPECT_EQ(e2e::settingValue(settings, "Filter on channel A"), "Low");
    EXPECT_EQ(e2e::settingValue(settings, "Output of channel B"), "-20dB");
    EXPECT_EQ(e2e::settingValue(settings, "Channel B level"), "2048");

    const QJsonArray channels = program.instrumentLog().instrument(0).value("channels").toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject a = channels.at(0).toObject();
    const QJsonObject b = channels.at(1).toObject();
    // An open output: the full-scale level of the code that was saved.
    EXPECT_NEAR(a.value("amplitudeVpp").toDouble(), (level * 15200.0 / 4096 + 800) / 1000, 0.01);
    EXPECT_EQ(a.value("filter").toString(), "Low");
    EXPECT_EQ(a.value("outputPath").toString(), "normal");
    EXPECT_EQ(b.value("outputPath").toString(), "-20dB");
    EXPECT_EQ(b.value("filter").toString(), "Off");
    EXPECT_NEAR(b.value("amplitudeVpp").toDouble(), 0.84, 0.01);  // a tenth of 8.4 V
}
