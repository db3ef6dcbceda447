// The gallery with the formula editor and the harmonic composer in the real program, worked with
// the mouse as an operator works them, and judged by what the virtual instrument received and by
// "Waves.dat".
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <cstdint>
#include <vector>

#include "OctaveDecimator.h"
#include "RealProgram.h"
#include "generators/HarmonicParameterBlock.h"
#include "generators/MathParameterBlock.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

namespace {

using namespace std::chrono_literals;

struct MainWindow {
    const e2e::Desktop& desktop;
    e2e::Window window;

    void click(int x, int y) const { desktop.click(window, x, e2e::formTop(window) + y); }
    // "Select wave A" in the "Waveforms" box.
    void selectWaveA() const { click(222 + 8 + 50, 150 + 176 + 10); }
};

// Positions in the gallery, which has no menu.
constexpr int ThumbnailSawX = 202, ThumbnailSawY = 45;
constexpr int CreateSlot6X = 202, CreateSlot6Y = 248;
constexpr int MathEditX = 671, MathEditY = 83;
constexpr int GalleryOkX = 642, GalleryOkY = 502;
constexpr int HarmEditX = 671, HarmEditY = 135;
// And in the formula editor.
constexpr int CountX = 514, CountY = 235;
constexpr int MathOkX = 514, MathOkY = 454;
// And in the harmonic composer.
constexpr int SingleHarmonicX = 378, SingleHarmonicY = 235;
constexpr int ComposerOkX = 510, ComposerOkY = 488;

// Long enough for a window of a program on a heavily loaded machine.
constexpr e2e::Milliseconds Patience(60000);

QString checksum(const std::uint8_t* data, std::size_t count) {
    return QString::fromStdString(e2e::InstrumentLog::checksum(data, count));
}

// Channel A's octave set of a waveform: no phase, every octave decimated by powers of two.
std::vector<std::uint8_t> octaveSetOf(const WaveformRecord& wave) {
    q745drv::OctaveDecimator decimator;
    decimator.prepare(q745drv::OctaveDecimator::Waveform(wave.points.data(), wave.points.size()));
    std::vector<std::uint8_t> set(q745drv::kOctaveSetLength);
    decimator.buildOctaveSet(
        0, 1, std::span<std::uint8_t, q745drv::kOctaveSetLength>(set.data(), set.size()));
    return set;
}

void endProgram(const e2e::Desktop& desktop, const MainWindow& main, e2e::RealProgram& program) {
    desktop.closeThroughWindowManager(main.window);
    desktop.key(desktop.waitForWindow("^Warning$"), "Return");
    ASSERT_EQ(program.waitForExit(), 0);
}

// The block writes of the run include the octave set of the waveform, and channel A plays it.
void expectPlayedOnChannelA(const e2e::InstrumentLog& log, const WaveformRecord& wave) {
    const std::vector<std::uint8_t> set = octaveSetOf(wave);
    bool loaded = false;
    for (const QJsonObject& block : log.eventsNamed("block"))
        loaded = loaded || (block.value("length").toInt() == q745drv::kOctaveSetLength &&
                            block.value("fnv1a").toString() == checksum(set.data(), set.size()));
    EXPECT_TRUE(loaded) << "the waveform's octave set was written";

    const QJsonObject instrument = log.instrument();
    const int octave = instrument.value("clock").toObject().value("octave").toInt();
    const QJsonObject channelA = instrument.value("channels").toArray().at(0).toObject();
    const std::size_t start = static_cast<std::size_t>(octave) * q745drv::kPointsPerWaveform;
    const std::size_t played = std::size_t{q745drv::kPointsPerWaveform} >> octave;
    EXPECT_EQ(channelA.value("playedFnv1a").toString(), checksum(set.data() + start, played))
        << "channel A plays the waveform";
}

DecodedStore storedWaves(const e2e::Installation& installation) {
    const std::string text = installation.fileText(kStoreFileName);
    return decodeStore(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace

TEST(GalleryEndToEndTest, SawChosenForChannelAReachesItsMemory) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const MainWindow main{desktop, desktop.waitForWindow("^Q745$")};

    main.selectWaveA();
    const e2e::Window gallery = desktop.waitForWindow("^Select waveform$");
    desktop.click(gallery, ThumbnailSawX, ThumbnailSawY);
    desktop.screenshot(gallery, e2e::Desktop::screenshotPath("gallery-saw.png"));
    desktop.click(gallery, GalleryOkX, GalleryOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Select waveform$"));
    endProgram(desktop, main, program);

    WaveformStore store;
    resetPredefined(store, 1);
    expectPlayedOnChannelA(program.instrumentLog(), store.slots[1]);
}

TEST(GalleryEndToEndTest, FormulaMadeInANewSlotIsStoredInWavesDat) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const MainWindow main{desktop, desktop.waitForWindow("^Q745$")};

    main.selectWaveA();
    const e2e::Window gallery = desktop.waitForWindow("^Select waveform$");
    desktop.click(gallery, CreateSlot6X, CreateSlot6Y);
    desktop.click(gallery, MathEditX, MathEditY);
    const e2e::Window editor = desktop.waitForWindow("^Math editor$");
    desktop.click(editor, CountX, CountY);
    desktop.screenshot(editor, e2e::Desktop::screenshotPath("math-editor.png"));
    desktop.click(editor, MathOkX, MathOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Math editor$"));
    desktop.screenshot(gallery, e2e::Desktop::screenshotPath("gallery-formula.png"));
    desktop.click(gallery, GalleryOkX, GalleryOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Select waveform$"));

    // "Modules" (left of "Settings"), "Editor data view".
    desktop.click(main.window, 170, 10);
    desktop.key("Left Return");
    desktop.screenshot(desktop.waitForWindow("^Data view$"),
                       e2e::Desktop::screenshotPath("data-view.png"));
    endProgram(desktop, main, program);

    const DecodedStore stored = storedWaves(installation);
    const WaveformRecord& made = stored.store.slots[5];
    EXPECT_EQ(made.name(), "Untitled");
    EXPECT_EQ(made.generatorKind, kGeneratorFormula);
    EXPECT_EQ(made.minSample, 1);
    EXPECT_EQ(made.maxSample, 255);
    const MathParameterBlock block = decodeMathParams(made.params);
    EXPECT_EQ(block.count, 1);
    EXPECT_EQ(block.slots[0].formula, "sin(x)");
}

TEST(GalleryEndToEndTest, HarmonicCompositionReachesChannelAAndWavesDat) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    e2e::RealProgram program(desktop, installation);
    const MainWindow main{desktop, desktop.waitForWindow("^Q745$", Patience)};

    main.selectWaveA();
    const e2e::Window gallery = desktop.waitForWindow("^Select waveform$", Patience);
    desktop.click(gallery, CreateSlot6X, CreateSlot6Y);
    desktop.click(gallery, HarmEditX, HarmEditY);
    const e2e::Window composer = desktop.waitForWindow("^Harmonic components editor$", Patience);
    // Harmonic 3 typed and entered; its level dialog comes up over the composer.
    desktop.click(composer, SingleHarmonicX, SingleHarmonicY);
    desktop.key(composer, "ctrl+a");
    desktop.type(composer, "3");
    desktop.key(composer, "Return");
    const e2e::Window level = desktop.waitForWindow("^Select level of harmonic$", Patience);
    desktop.type(level, "-6");
    desktop.screenshot(level, e2e::Desktop::screenshotPath("harmonic-level.png"));
    desktop.key(level, "Return");
    ASSERT_TRUE(desktop.waitUntilGone("^Select level of harmonic$", Patience));
    desktop.screenshot(composer, e2e::Desktop::screenshotPath("harmonic-composer.png"));
    desktop.click(composer, ComposerOkX, ComposerOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Harmonic components editor$", Patience));
    desktop.click(gallery, GalleryOkX, GalleryOkY);
    ASSERT_TRUE(desktop.waitUntilGone("^Select waveform$", Patience));
    endProgram(desktop, main, program);

    HarmonicParameterBlock block;
    block.count = 1;
    block.harmonics[0].number = 3;
    setHarmonicLevel(block.harmonics[0], -6, false, 0);
    WaveformRecord expected = untitledWaveform();
    recomputeHarmonics(block, expected);
    expectPlayedOnChannelA(program.instrumentLog(), expected);

    const DecodedStore stored = storedWaves(installation);
    const WaveformRecord& made = stored.store.slots[5];
    EXPECT_EQ(made.generatorKind, kGeneratorHarmonic);
    EXPECT_EQ(made.points, expected.points);
    EXPECT_EQ(decodeHarmonicParams(made.params), block);
}
