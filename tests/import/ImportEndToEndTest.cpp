// "Import from scope" in the real program: a two-channel recording chosen in the file dialog is
// played by the instrument, both cut stretches raw at the recorded sample rate, and the
// read-out under the imported waves tells how faithful that is.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

// Points of the main window's form below the menu bar.
constexpr int ModeMenuX = 57, MenuY = 10;
constexpr int ImportFromScopeX = 616, ImportFromScopeY = 29;
// The replay read-out's rate line under the imported waves.
constexpr int RateLineX = 230, RateLineY = 534, RateLineWidth = 332, RateLineHeight = 16;

std::vector<std::uint8_t> wave(int count, int period, double phase) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<std::uint8_t>(
            std::lround(128 + 100 * std::sin(2 * M_PI * i / period + phase))));
    return samples;
}

// 1 MHz (device type 211, time base 11), 800 mV on both channels.
void writeRecording(const std::filesystem::path& file, const std::vector<std::uint8_t>& a,
                    const std::vector<std::uint8_t>& b) {
    std::ofstream out(file, std::ios::binary);
    out << "DeviceType: 211\r\nTimeBaseValue: 11\r\nDensityChannelA: 3\r\nDensityChannelB: 3\r\n"
           "SettingsEnd\r\nChannel A samples:\r\n";
    for (std::uint8_t sample : a)
        out << int{sample} << "\r\n";
    out << "Channel B samples:\r\n";
    for (std::uint8_t sample : b)
        out << int{sample} << "\r\n";
}

std::string checksum(const std::vector<std::uint8_t>& bytes) {
    return e2e::InstrumentLog::checksum(bytes.data(), bytes.size());
}

// Dark pixels (text) in a rectangle of a window's picture.
int textPixels(const e2e::Desktop& desktop, const e2e::Window& window, int x, int y, int width,
               int height) {
    const std::filesystem::path png = e2e::Desktop::screenshotPath("import-readout-probe.png");
    desktop.screenshot(window, png);
    const QImage image(QString::fromStdString(png.string()));
    int dark = 0;
    for (int row = y; row < y + height && row < image.height(); ++row)
        for (int column = x; column < x + width && column < image.width(); ++column)
            dark += qGray(image.pixel(column, row)) < 100;
    return dark;
}

}  // namespace

TEST(ImportEndToEndTest, TwoChannelRecordingPlaysAtTheRecordedRate) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    std::filesystem::create_directories(installation.data() / "Export");
    const std::vector<std::uint8_t> a = wave(1000, 100, 0);
    const std::vector<std::uint8_t> b = wave(1000, 100, 1.0);
    writeRecording(installation.data() / "Export" / "scope.txt", a, b);

    e2e::RealProgram program(desktop, installation);
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    const int menuHeight = e2e::formTop(main);
    desktop.click(main, ModeMenuX, MenuY);
    desktop.key("Down Down Down Return");  // "Import mode"
    const int rateLineY = menuHeight + RateLineY;
    ASSERT_EQ(textPixels(desktop, main, RateLineX, rateLineY, RateLineWidth, RateLineHeight), 0);

    desktop.click(main, ImportFromScopeX, menuHeight + ImportFromScopeY);
    const e2e::Window files = desktop.waitForWindow("^Select oscilloscope file$");
    desktop.type(files, "scope.txt");
    // The first Return may only take the name the dialog completes.
    ASSERT_TRUE(e2e::waitFor(
        [&] {
            if (desktop.findWindows("^Select oscilloscope file$").empty()) return true;
            desktop.key(files, "Return");
            return desktop.waitUntilGone("^Select oscilloscope file$", 3s);
        },
        60s));

    const e2e::Window dialog = desktop.waitForWindow("^Import from scope$");
    desktop.screenshot(dialog, e2e::Desktop::screenshotPath("import-from-scope.png"));
    // "Ok" is the default button; the dialog takes it once the period search has marked the
    // period.
    ASSERT_TRUE(e2e::waitFor(
        [&] {
            if (desktop.findWindows("^Import from scope$").empty()) return true;
            desktop.key(dialog, "Return");
            return desktop.waitUntilGone("^Import from scope$", 3s);
        },
        60s));
    ASSERT_TRUE(e2e::waitFor(
        [&] {
            return textPixels(desktop, main, RateLineX, rateLineY, RateLineWidth, RateLineHeight) >
                   50;
        },
        30s))
        << "the replay read-out shows the rates";
    desktop.screenshot(main, e2e::Desktop::screenshotPath("import-main-window.png"));
    ASSERT_EQ(program.terminate(), 0);

    // The period of 100 points, whole: points 0 to 99 of each channel.
    const QJsonObject instrument = program.instrumentLog().instrument();
    const QJsonObject clock = instrument.value("clock").toObject();
    EXPECT_FALSE(clock.value("octaveMode").toBool()) << "raw data";
    EXPECT_NEAR(clock.value("sampleClockHz").toDouble(), 1e6, 5);
    const QJsonArray channels = instrument.value("channels").toArray();
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<std::uint8_t>& recorded = channel == 0 ? a : b;
        const QJsonObject played = channels.at(channel).toObject();
        EXPECT_EQ(played.value("playedPoints").toInt(), 100);
        EXPECT_EQ(played.value("playedFnv1a").toString().toStdString(),
                  checksum({recorded.begin(), recorded.begin() + 100}));
    }
}
