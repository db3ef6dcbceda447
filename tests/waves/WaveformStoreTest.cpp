#include "waves/WaveformStore.h"

#include <gtest/gtest.h>

#include "core/FileStore.h"
#include "GoldenBytes.h"
#include "RecordingMessages.h"
#include "TempFolder.h"
#include "core/UserError.h"
#include "waves/PredefinedWaveforms.h"

namespace {

// An empty slot as the table lays it out: name, imported, no points, kinds, no params,
// statistics.
void goldenEmptySlot(GoldenBytes& golden, const std::string& name) {
    golden.string(name).byte(0).int32(0).int32(0).int32(0).int32(0);
    golden.int32(0).int32(0).float64(0).int32(0).int32(1);
}

void goldenSlotWithPoints(GoldenBytes& golden, const std::string& name, std::uint8_t level) {
    golden.string(name).byte(0).int32(kWavePointCount).repeat(kWavePointCount, level);
    golden.int32(kOptionsNone).int32(kGeneratorPlain).int32(0);
    golden.int32(level).int32(level).float64(level).int32(0).int32(1);
}

WaveformRecord flatWaveform(const std::string& name, std::uint8_t level) {
    WaveformRecord record;
    record.setName(name);
    record.points.assign(kWavePointCount, level);
    record.maxSample = level;
    record.minSample = level;
    record.meanSample = level;
    return record;
}

bool holdsOnlyPredefined(const WaveformStore& store) {
    WaveformStore reference;
    resetPredefined(reference, 0);
    for (int slot = 0; slot < 4; ++slot)
        if (store.slots[slot] != reference.slots[slot]) return false;
    if (store.slots[4].name() != "Noise" || store.slots[4].pointCount() != kWavePointCount)
        return false;
    for (int slot = kPredefinedSlotCount; slot < kStoreSlotCount; ++slot)
        if (!store.slots[slot].isEmpty()) return false;
    return true;
}

WaveformStore someStore() {
    WaveformStore store;
    resetPredefined(store, 11);
    store.slots[6] = flatWaveform("Flat", 100);
    store.slots[6].params = {1, 2, 3};
    store.slots[6].generatorKind = kGeneratorFormula;
    store.importedA = flatWaveform("A", 40);
    store.importedA.points.resize(1000);
    store.importedA.imported = 1;
    return store;
}

}  // namespace

TEST(WaveformStore, OldHeaderLoadsSlotsAndSavesTheNewForm) {
    GoldenBytes old;
    old.string("Main waveforms file");
    goldenSlotWithPoints(old, "Level 200", 200);
    for (int slot = 1; slot < kStoreSlotCount; ++slot)
        goldenEmptySlot(old, "S" + std::to_string(slot));

    TempFolder folder;
    ASSERT_TRUE(writeWholeFile(folder / "Waves.dat", old.bytes));
    RecordingMessages messages;
    WaveformStore store;
    store.importedA = flatWaveform("stale", 1);
    ASSERT_TRUE(loadStore(store, folder.path(), messages));
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(store.slots[0], flatWaveform("Level 200", 200));
    EXPECT_TRUE(store.slots[31].isEmpty());
    EXPECT_EQ(store.slots[31].name(), "S31");
    EXPECT_TRUE(store.importedA.isEmpty()) << "the imported records are emptied";
    EXPECT_TRUE(store.importedB.isEmpty());

    ASSERT_TRUE(saveStore(store, folder.path(), messages));
    GoldenBytes expected;
    expected.string("Main waveforms file 2");
    expected.append(std::vector<std::uint8_t>(old.bytes.begin() + 4 + 19, old.bytes.end()));
    goldenEmptySlot(expected, "");
    goldenEmptySlot(expected, "");
    EXPECT_EQ(readWholeFile(folder / "Waves.dat"), expected.bytes);
    EXPECT_FALSE(std::filesystem::exists(folder / "WavesTmp.dat"));
}

TEST(WaveformStore, SaveAndLoadKeepEverything) {
    TempFolder folder;
    RecordingMessages messages;
    const WaveformStore saved = someStore();
    ASSERT_TRUE(saveStore(saved, folder.path(), messages));
    WaveformStore loaded;
    ASSERT_TRUE(loadStore(loaded, folder.path(), messages));
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(messages.calls.empty());

    const DecodedStore decoded = decodeStore(encodeStore(saved));
    EXPECT_EQ(decoded.header, "Main waveforms file 2");
    EXPECT_EQ(decoded.store, saved);
}

TEST(WaveformStore, MissingFileGivesThePredefinedWaveforms) {
    TempFolder folder;
    RecordingMessages messages;
    WaveformStore store = someStore();
    EXPECT_FALSE(loadStore(store, folder.path(), messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne otvorit subor: Waves.dat"});
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_TRUE(holdsOnlyPredefined(store));
    EXPECT_TRUE(store.importedA.isEmpty());
}

TEST(WaveformStore, InvalidFilesGiveThePredefinedWaveforms) {
    GoldenBytes wrongHeader;
    wrongHeader.string("Main waveforms file 3");
    for (int slot = 0; slot < kStoreSlotCount; ++slot)
        goldenEmptySlot(wrongHeader, "");

    GoldenBytes longName;
    longName.string("Main waveforms file 2");
    goldenEmptySlot(longName, "");
    longName.int32(1025).repeat(1025, 'n');

    GoldenBytes truncated;
    truncated.string("Main waveforms file 2");
    for (int slot = 0; slot < 20; ++slot)
        goldenEmptySlot(truncated, "");

    GoldenBytes missingImported;
    missingImported.string("Main waveforms file 2");
    for (int slot = 0; slot < kStoreSlotCount; ++slot)
        goldenEmptySlot(missingImported, "");

    for (const GoldenBytes* content : {&wrongHeader, &longName, &truncated, &missingImported}) {
        TempFolder folder;
        ASSERT_TRUE(writeWholeFile(folder / "Waves.dat", content->bytes));
        RecordingMessages messages;
        WaveformStore store = someStore();
        EXPECT_FALSE(loadStore(store, folder.path(), messages));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor: Waves.dat"});
        EXPECT_TRUE(holdsOnlyPredefined(store));
    }
}

TEST(WaveformStore, TemporaryFileCannotBeCreated) {
    TempFolder folder;
    const WaveformStore store = someStore();
    RecordingMessages messages;
    ASSERT_TRUE(saveStore(store, folder.path(), messages));
    const auto before = readWholeFile(folder / "Waves.dat");

    // A non-empty folder in the temporary file's place can be neither removed nor opened.
    std::filesystem::create_directories(folder / "WavesTmp.dat" / "busy");
    EXPECT_FALSE(saveStore(WaveformStore{}, folder.path(), messages));
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Nie je mozne ukladat do suboru: WavesTmp.dat"});
    EXPECT_EQ(readWholeFile(folder / "Waves.dat"), before) << "Waves.dat stays as it was";
}

TEST(WaveformStore, ReplacingFails) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "Waves.dat" / "busy");
    RecordingMessages messages;
    EXPECT_FALSE(saveStore(someStore(), folder.path(), messages));
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Nie je mozne ulozit priebehy (WavesTmp.dat, Waves.dat)"});
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Waves.dat"));
}

TEST(WaveformStore, DecodeRefusesOtherContent) {
    EXPECT_THROW(decodeStore(std::vector<std::uint8_t>{}), InvalidFile);
    GoldenBytes gaw;
    goldenEmptySlot(gaw, "Main waveforms file 2");
    EXPECT_THROW(decodeStore(gaw.bytes), InvalidFile);
}
