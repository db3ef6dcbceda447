#include "waves/GawFile.h"

#include <gtest/gtest.h>

#include "core/FileStore.h"
#include "RecordingMessages.h"
#include "TempFolder.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"

namespace {

const char* const kSizeMessage =
    "Velkost priebehu ulozeneho v subore sa lisi od 16384 bodov.\r\n"
    "Nie je mozne nacitat taky priebeh v tomto rezime.";

WaveformRecord shortImportedRecord() {
    WaveformRecord record;
    record.setName("Scope cut");
    record.imported = 1;
    record.points.assign(1000, 90);
    computeStatistics(record);
    return record;
}

}  // namespace

TEST(GawFile, ExportThenImportGivesTheSameRecord) {
    TempFolder folder;
    RecordingMessages messages;
    WaveformStore store;
    resetPredefined(store, 5);
    const auto file = folder / "square.gaw";
    ASSERT_TRUE(exportRecord(store.slots[3], file, messages));

    WaveformRecord target = untitledWaveform();
    ASSERT_TRUE(importRecord(target, file, true, messages));
    EXPECT_EQ(target, store.slots[3]);
    EXPECT_TRUE(messages.calls.empty());
}

TEST(GawFile, ExportReplacesAnExistingFile) {
    TempFolder folder;
    RecordingMessages messages;
    const auto file = folder / "wave.gaw";
    ASSERT_TRUE(writeWholeFile(file, std::vector<std::uint8_t>(100000, 0xEE)));
    ASSERT_TRUE(exportRecord(shortImportedRecord(), file, messages));
    EXPECT_EQ(std::filesystem::file_size(file), 4u + 9 + 1 + 4 + 1000 + 12 + 8 + 8 + 8);
}

TEST(GawFile, ShortRecordOnlyAsAnImportedWaveform) {
    TempFolder folder;
    RecordingMessages messages;
    const auto file = folder / "cut.gaw";
    ASSERT_TRUE(exportRecord(shortImportedRecord(), file, messages));

    WaveformRecord slot = untitledWaveform();
    EXPECT_FALSE(importRecord(slot, file, true, messages));
    EXPECT_EQ(slot, untitledWaveform()) << "the target stays as it was";
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].text, kSizeMessage);
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.calls[0].buttons, MessageButtons::Ok);

    WaveformRecord imported;
    EXPECT_TRUE(importRecord(imported, file, false, messages));
    EXPECT_EQ(imported, shortImportedRecord());
}

TEST(GawFile, UnreadableAndInvalidFiles) {
    TempFolder folder;
    RecordingMessages messages;
    WaveformRecord target = untitledWaveform();

    const auto missing = folder / "missing.gaw";
    EXPECT_FALSE(importRecord(target, missing, true, messages));
    const auto broken = folder / "broken.gaw";
    ASSERT_TRUE(writeWholeFile(broken, std::vector<std::uint8_t>{0x01, 0x04, 0x00, 0x00, 'x'}));
    EXPECT_FALSE(importRecord(target, broken, true, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Nie je mozne otvorit subor: " + missing.string(),
                                        "Neplatny subor: " + broken.string()}));
    EXPECT_EQ(target, untitledWaveform());
}

TEST(GawFile, ExportIntoAMissingFolder) {
    TempFolder folder;
    RecordingMessages messages;
    const auto file = folder / "no such folder" / "wave.gaw";
    EXPECT_FALSE(exportRecord(untitledWaveform(), file, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Nie je mozne otvorit subor: " + file.string()}));
}
