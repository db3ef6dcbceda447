// Digital mode in the real program: an operator builds a clock and a counting bus in the digital
// wave editor, exports it, confirms it and ends the program; the instrument plays it, "DWave.dat"
// holds it, and GTKWave's reader sees the same transitions in the exported dump.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "RealProgram.h"
#include "VcdReader.h"
#include "core/FileStore.h"
#include "digital/MainWaveFile.h"

namespace {

using namespace std::chrono_literals;

// Points of the windows' client areas, from their layouts.
// Main window: the "Mode" menu, "Edit" of "Digital sequence" and the voltage box.
constexpr int ModeMenuX = 57, MenuY = 10;
constexpr int EditX = 745, EditY = 550;
constexpr int VoltageX = 517, VoltageY = 47;
// "Edit digital wave": the picture starts at (8, 20); its rows are 20 pixels from y 20 on.
constexpr int PictureX = 8, PictureY = 20;
int rowY(int row) {
    return PictureY + 20 * (row + 1) + 10;
}
constexpr int KindColumnX = PictureX + 746, CellButtonX = PictureX + 772, NameX = PictureX + 20;
constexpr int OneStepX = 236, OneStepY = 373;
constexpr int ConfigureWaveX = 436, ConfigureWaveY = 425;
constexpr int ExportVcdX = 436, ExportVcdY = 503;
constexpr int OkX = 665, OkY = 538;
// "Configure digital wave": list lines are 13 pixels high.
int lineY(int line) {
    return 31 + 13 * line;
}
constexpr int AvailablePinsX = 40, AssignedPinsX = 260;
constexpr int NetNameX = 288, NetNameY = 247;
constexpr int BusX = 321, SingleX = 239, KindY = 272;
constexpr int TopIndexX = 327, TopIndexY = 299;
constexpr int NextStepX = 288, NextStepY = 329;
constexpr int AddToNetsX = 245, AddToNetsY = 178;
constexpr int ConfigureOkX = 511, ConfigureOkY = 380;

// A net built in "Configure digital wave": named, sized, its pins given lines by dragging.
void addNet(const e2e::Desktop& desktop, const e2e::Window& dialog, const std::string& name,
            const std::vector<int>& lines) {
    desktop.click(dialog, NetNameX, NetNameY);
    desktop.type(dialog, name);
    desktop.click(dialog, lines.size() > 1 ? BusX : SingleX, KindY);
    if (lines.size() > 1) {
        desktop.click(dialog, TopIndexX, TopIndexY);
        desktop.key(dialog, "ctrl+a");
        desktop.type(dialog, std::to_string(lines.size() - 1));
    }
    desktop.click(dialog, NextStepX, NextStepY);
    for (std::size_t pin = 0; pin < lines.size(); ++pin)
        desktop.dragAndDrop(dialog, AvailablePinsX, lineY(lines[pin]), AssignedPinsX,
                            lineY(static_cast<int>(pin)));
    desktop.click(dialog, AddToNetsX, AddToNetsY);
}

std::string hexDigit(int value) {
    return std::string(1, "0123456789ABCDEF"[value]);
}

std::string checksum(const std::vector<std::uint8_t>& bytes) {
    return e2e::InstrumentLog::checksum(bytes.data(), bytes.size());
}

}  // namespace

TEST(DigitalEndToEndTest, ClockAndCountingBusReachTheInstrumentTheFileAndAVcdReader) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    desktop.click(main, ModeMenuX, MenuY);
    desktop.key("Down Down Return");  // "Digital mode"
    desktop.click(main, EditX, EditY);
    const e2e::Window editor = desktop.waitForWindow("^Edit digital wave$");

    desktop.click(editor, ConfigureWaveX, ConfigureWaveY);
    const e2e::Window configure = desktop.waitForWindow("^Configure digital wave$");
    addNet(desktop, configure, "CLK", {0});
    addNet(desktop, configure, "CNT", {8, 9, 10, 11});
    desktop.screenshot(configure, e2e::Desktop::screenshotPath("configure-digital-wave.png"));
    desktop.click(configure, ConfigureOkX, ConfigureOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Configure digital wave$"));

    desktop.click(editor, KindColumnX, rowY(0));  // CLK becomes a clock
    for (int step = 0; step < 16; ++step) {
        desktop.click(editor, OneStepX, OneStepY);
        desktop.click(editor, CellButtonX, rowY(1));  // the "E" of CNT at the cursor
        const e2e::Window value = desktop.waitForWindow("^Enter bus value$");
        desktop.type(value, hexDigit(step));
        desktop.key(value, "Return");
        ASSERT_TRUE(desktop.waitUntilGone("^Enter bus value$"));
    }
    desktop.click(editor, NameX, rowY(1));  // CNT selected: its times in the header
    desktop.screenshot(editor, e2e::Desktop::screenshotPath("digital-editor.png"));

    const std::filesystem::path dump = installation.logs() / "counter.vcd";
    desktop.click(editor, ExportVcdX, ExportVcdY);
    const e2e::Window save = desktop.waitForWindow("^Export VCD$");
    desktop.type(save, dump.string());
    desktop.key(save, "Return");
    ASSERT_TRUE(e2e::waitFor([&] { return std::filesystem::exists(dump); }, 10s));

    desktop.click(editor, OkX, OkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Edit digital wave$"));
    desktop.click(main, VoltageX, VoltageY);
    desktop.key("Down Return");  // "5V"
    desktop.screenshot(main, e2e::Desktop::screenshotPath("digital-main-window.png"));
    ASSERT_EQ(program.terminate(), 0);

    // CLK on D0 toggles from 0; CNT on D8..D11 counts 0 to 15.
    std::vector<std::uint8_t> low;
    std::vector<std::uint8_t> high;
    for (int step = 0; step < 16; ++step) {
        low.push_back(static_cast<std::uint8_t>(step & 1));
        high.push_back(static_cast<std::uint8_t>(step));
    }
    const auto content = readWholeFile(installation.data() / "DWave.dat");
    ASSERT_TRUE(content);
    TDigitalWave saved;
    decodeMainWave(*content, saved);
    ASSERT_EQ(saved.length(), 16);
    for (int step = 0; step < 16; ++step)
        EXPECT_EQ(saved.word(step), low[step] | high[step] << 8) << step;

    const e2e::InstrumentLog log = program.instrumentLog();
    const QJsonObject instrument = log.instrument();
    const QJsonArray channels = instrument.value("channels").toArray();
    EXPECT_EQ(channels.at(0).toObject().value("playedPoints").toInt(), 16);
    EXPECT_EQ(channels.at(0).toObject().value("playedFnv1a").toString().toStdString(),
              checksum(low))
        << "the low bytes on channel A's memory";
    EXPECT_EQ(channels.at(1).toObject().value("playedFnv1a").toString().toStdString(),
              checksum(high))
        << "the high bytes on channel B's memory";
    const QJsonObject outputs = instrument.value("digitalOutputs").toObject();
    EXPECT_TRUE(outputs.value("on").toBool());
    EXPECT_EQ(outputs.value("voltage").toString(), "5V");

    // The dump declares the instrument's tick frequency, and GTKWave reads it back.
    const std::string exported = e2e::fileText(dump);
    const double tick = instrument.value("clock").toObject().value("sampleClockHz").toDouble();
    const std::string declared = "$comment tick frequency ";
    const std::size_t at = exported.find(declared);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::stod(exported.substr(at + declared.size())), tick, tick * 1e-6);
    const std::filesystem::path fst = installation.logs() / "counter.fst";
    const e2e::ToolResult converted = e2e::runTool(
        desktop.display(), "vcd2fst",
        {QString::fromStdString(dump.string()), QString::fromStdString(fst.string())}, 30s);
    ASSERT_EQ(converted.exitCode, 0);
    const e2e::ToolResult readBack =
        e2e::runTool(desktop.display(), "fst2vcd", {QString::fromStdString(fst.string())}, 30s);
    ASSERT_EQ(readBack.exitCode, 0);
    const VcdDump seen = readVcd(readBack.output);
    ASSERT_EQ(seen.variables.at(seen.idOf("CNT")).width, 4);
    std::vector<std::int64_t> stepStarts;
    for (const VcdDump::Change& change : seen.changes)
        if (change.id == seen.idOf("CLK")) stepStarts.push_back(change.time);
    ASSERT_EQ(stepStarts.size(), 16u) << readBack.output;
    for (int step = 0; step < 16; ++step) {
        EXPECT_EQ(seen.valueAt("CLK", stepStarts[step]), step & 1) << step;
        EXPECT_EQ(seen.valueAt("CNT", stepStarts[step]), step) << step;
    }
    EXPECT_GT(seen.lastTime, stepStarts.back()) << "the last step lasts a tick too";
}
