#include <gtest/gtest.h>

#include <random>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "core/FileStore.h"
#include "RecordingMessages.h"
#include "core/UserError.h"
#include "digital/DigitalWaveBlock.h"
#include "digital/MainWaveFile.h"
#include "digital/WaveFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A: D0; B[0:1]: bit 0 on D3, bit 1 on D2; C: clock on D5, bit 2, counter 7.
TDigitalWave sampleWave() {
    return waveOf({singleSignal("A", 0), busSignal("B", {3, 2}), clockSignal("C", 5, 2, 7)},
                  {0x0001, 0x000C, 0x0021});
}

Bytes sampleBlock() {
    Golden g;
    g.str("Digital wave").i32(65536).i32(3).u16(0x0001).u16(0x000C).u16(0x0021).i32(3);
    g.str("A").u8(1).u16(0x0001).u8(0).u8(0).u8(0).i32(0).i32(0);
    g.str("B").u8(2).u16(0x0008).u8(3).u8(0).u16(0x0004).u8(1).u8(0).u8(0).i32(0).i32(0);
    g.str("C").u8(1).u16(0x0020).u8(5).u8(0).u8(1).i32(2).i32(7);
    g.str("Digital wave end");
    return g.bytes;
}

Bytes mainFileOf(const Bytes& block) {
    return Golden()
        .str("Main digital wave file")
        .append(block)
        .str("Main digital wave file end")
        .bytes;
}

TDigitalWave decodeBlock(const Bytes& bytes) {
    ByteReader in(bytes);
    TDigitalWave wave;
    readWaveBlock(in, wave);
    return wave;
}

TEST(WaveBlock, EncodesTheTableFieldByField) {
    ByteWriter out;
    writeWaveBlock(out, sampleWave());
    EXPECT_EQ(out.bytes(), sampleBlock());
}

TEST(WaveBlock, DecodesTheGoldenBlock) {
    const TDigitalWave wave = decodeBlock(sampleBlock());
    EXPECT_TRUE(sameWave(wave, sampleWave()));
    EXPECT_EQ(wave.capacity(), 65536);
    EXPECT_EQ(wave.signals[2].counter, 7);
}

TEST(WaveBlock, EmptyWaveHasNoWordsAndNoSignals) {
    ByteWriter out;
    writeWaveBlock(out, TDigitalWave{});
    EXPECT_EQ(out.bytes(),
              Golden().str("Digital wave").i32(0).i32(0).i32(0).str("Digital wave end").bytes);
}

// A block with the given header numbers and one signal record built by the caller.
Bytes blockWith(std::int32_t capacity, std::int32_t length, std::int32_t signalCount,
                const Bytes& signalRecords) {
    Golden g;
    g.str("Digital wave").i32(capacity).i32(length);
    for (std::int32_t i = 0; i < length && i < 4; ++i)
        g.u16(1);
    g.i32(signalCount).append(signalRecords).str("Digital wave end");
    return g.bytes;
}

Bytes signalRecord(std::uint8_t width, std::uint16_t mask) {
    Golden g;
    g.str("S").u8(width);
    for (int i = 0; i < width; ++i)
        g.u16(mask).u8(0).u8(0);
    return g.u8(0).i32(0).i32(0).bytes;
}

TEST(WaveBlock, MalformedBlocksAreInvalidFiles) {
    const Bytes goodSignal = signalRecord(1, 0x0001);
    const Bytes good = sampleBlock();
    Bytes wrongEnd = good;
    wrongEnd.back() = 'D';
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {"length above capacity", blockWith(2, 3, 1, goodSignal)},
        {"negative length", blockWith(65536, -1, 1, goodSignal)},
        {"capacity beyond the longest wave", blockWith(262145 + 65535, 1, 1, goodSignal)},
        {"huge length", blockWith(0x7FFFFFFF, 0x7FFFFFFF, 1, goodSignal)},
        {"seventeen signals", blockWith(65536, 1, 17, goodSignal)},
        {"negative signal count", blockWith(65536, 1, -1, goodSignal)},
        {"width 0", blockWith(65536, 1, 1, signalRecord(0, 1))},
        {"width 17", blockWith(65536, 1, 1, signalRecord(17, 1))},
        {"empty mask", blockWith(65536, 1, 1, signalRecord(1, 0))},
        {"mask of two lines", blockWith(65536, 1, 1, signalRecord(1, 0x0003))},
        {"signal count beyond the end", blockWith(65536, 1, 2, goodSignal)},
        {"wrong start tag",
         Golden().str("Digital wavE").append(Bytes(good.begin() + 16, good.end())).bytes},
        {"wrong end tag", wrongEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(decodeBlock(c.bytes), InvalidFile);
    }
    EXPECT_NO_THROW(decodeBlock(blockWith(65536, 1, 1, goodSignal)));
}

TEST(WaveBlock, EveryTruncationIsAnInvalidFile) {
    const Bytes full = sampleBlock();
    for (std::size_t size = 0; size < full.size(); ++size) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_THROW(decodeBlock(cut), InvalidFile) << size;
    }
}

class MainWaveFileTest : public DigitalScratch {};

TEST_F(MainWaveFileTest, SavesTheGoldenFileAtomically) {
    RecordingMessages messages;
    put("DWaveTmp.dat", Bytes{1, 2, 3});
    ASSERT_TRUE(saveMainWave(sampleWave(), folder, messages));
    EXPECT_EQ(readWholeFile(folder / "DWave.dat"), mainFileOf(sampleBlock()));
    EXPECT_FALSE(std::filesystem::exists(folder / "DWaveTmp.dat"));
    EXPECT_TRUE(messages.calls.empty());

    TDigitalWave loaded;
    ASSERT_TRUE(loadMainWave(loaded, folder, messages));
    EXPECT_TRUE(sameWave(loaded, sampleWave()));
}

TEST_F(MainWaveFileTest, MissingFileLeavesTheWaveEmpty) {
    RecordingMessages messages;
    TDigitalWave wave = sampleWave();
    EXPECT_FALSE(loadMainWave(wave, folder, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne otvorit subor: DWave.dat"});
    EXPECT_EQ(wave.length(), 0);
    EXPECT_EQ(wave.signalCount, 0);
}

TEST_F(MainWaveFileTest, MissingTrailerIsReportedOnce) {
    put("DWave.dat", Golden().str("Main digital wave file").append(sampleBlock()).bytes);
    RecordingMessages messages;
    TDigitalWave wave;
    EXPECT_FALSE(loadMainWave(wave, folder, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor"});
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(wave.signalCount, 0);
}

TEST_F(MainWaveFileTest, WrongHeaderOrOversizedStringIsInvalid) {
    RecordingMessages messages;
    TDigitalWave wave;
    put("DWave.dat", Golden()
                         .str("Main digital wave")
                         .append(sampleBlock())
                         .str("Main digital wave file end")
                         .bytes);
    EXPECT_FALSE(loadMainWave(wave, folder, messages));
    put("DWave.dat", Golden().i32(1025).append(Bytes(1025, 'x')).bytes);
    EXPECT_FALSE(loadMainWave(wave, folder, messages));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Neplatny subor", "Neplatny subor"}));
}

TEST_F(MainWaveFileTest, FailedSavesKeepTheOldFile) {
    RecordingMessages messages;
    EXPECT_FALSE(saveMainWave(sampleWave(), folder / "missing", messages));
    ASSERT_EQ(messages.texts(),
              std::vector<std::string>{"Nie je mozne ukladat do suboru: DWaveTmp.dat"});

    // A folder in the place of "DWave.dat" cannot be replaced.
    std::filesystem::create_directories(folder / "DWave.dat" / "inside");
    EXPECT_FALSE(saveMainWave(sampleWave(), folder, messages));
    EXPECT_EQ(messages.texts().back(),
              "Nie je mozne ulozit digitalny priebeh (DWaveTmp.dat, DWave.dat)");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "DWave.dat" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(folder / "DWaveTmp.dat"));
}

// Two running entries: one halfway through its second cycle with a binding and a counted value,
// one file-driven still waiting.
MacroQueue sampleQueue() {
    TDigitalMacro first =
        runningEntry("Counter", waveOf({busSignal("V", {0, 1})}, {0, 3, 1}), {1}, 4);
    first.position = 1;
    first.remaining = 3;
    first.value = 41;
    first.valueSource = kValueCountUp;
    first.bindings = {{2, 1, 0, 1}};
    first.description = "V00-V31";
    TDigitalMacro second = runningEntry("Feed", waveOf({singleSignal("S", 0)}, {1}), {0}, 10);
    second.valueSource = kValueFromFile;
    second.description = "values.bin";
    second.fileOffset = 16;
    second.valueWidth = 1;
    second.bindings = {{0, 0, 0, 0}};
    return {first, second};
}

class WaveFileTest : public DigitalScratch {};

TEST_F(WaveFileTest, RoundTripKeepsWaveAndRunningEntries) {
    RecordingMessages messages;
    const std::filesystem::path file = folder / "two.gdw";
    ASSERT_TRUE(saveWaveFile(sampleWave(), sampleQueue(), file, messages));
    TDigitalWave wave;
    MacroQueue queue;
    ASSERT_TRUE(loadWaveFile(wave, queue, file, messages));
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_TRUE(sameWave(wave, sampleWave()));
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_TRUE(sameMacro(queue[0], sampleQueue()[0]));
    EXPECT_TRUE(sameMacro(queue[1], sampleQueue()[1]));
    EXPECT_EQ(queue[0].position, 1);
    EXPECT_EQ(queue[0].remaining, 3);
}

TEST_F(WaveFileTest, FileIsTheBlockThenTheQueue) {
    const Bytes bytes = encodeWaveFile(sampleWave(), {});
    EXPECT_EQ(bytes, Golden().append(sampleBlock()).i32(0).bytes);
}

TEST_F(WaveFileTest, FileCutInTheSecondMacroChangesNothing) {
    const Bytes full = encodeWaveFile(sampleWave(), sampleQueue());
    const Bytes cut(full.begin(), full.end() - 20);
    const std::filesystem::path file = put("cut.gdw", cut);
    TDigitalWave wave = waveOf({singleSignal("KEEP", 9)}, {5});
    MacroQueue queue = {runningEntry("Old", waveOf({singleSignal("O", 0)}, {1}), {0}, 1)};
    RecordingMessages messages;
    EXPECT_FALSE(loadWaveFile(wave, queue, file, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor: " + file.string()});
    EXPECT_EQ(wave.signals[0].name, "KEEP");
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].name, "Old");

    for (std::size_t size = 0; size < full.size(); size += 7) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_THROW(decodeWaveFile(part, wave, queue), InvalidFile) << size;
    }
}

TEST_F(WaveFileTest, MissingOrUncreatableFiles) {
    RecordingMessages messages;
    TDigitalWave wave;
    MacroQueue queue;
    const std::filesystem::path missing = folder / "none.gdw";
    EXPECT_FALSE(loadWaveFile(wave, queue, missing, messages));
    const std::filesystem::path unreachable = folder / "no" / "x.gdw";
    EXPECT_FALSE(saveWaveFile(sampleWave(), {}, unreachable, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Nie je mozne otvorit subor: " + missing.string(),
                                        "Nie je mozne otvorit subor: " + unreachable.string()}));
}

TEST_F(WaveFileTest, ImpossibleQueueCountIsRefused) {
    TDigitalWave wave;
    MacroQueue queue;
    EXPECT_THROW(decodeWaveFile(Golden().append(sampleBlock()).i32(-1).bytes, wave, queue),
                 InvalidFile);
    EXPECT_THROW(decodeWaveFile(Golden().append(sampleBlock()).i32(0x7FFFFFFF).bytes, wave, queue),
                 InvalidFile);
}

}  // namespace
