#include <gtest/gtest.h>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "core/FileStore.h"
#include "RecordingMessages.h"
#include "core/UserError.h"
#include "digital/MacroBlock.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TDigitalMacro libraryMacro(const std::string& name) {
    TDigitalMacro macro;
    macro.name = name;
    macro.description = "V00-V31";
    macro.wave = waveOf({singleSignal("E", 0)}, {1, 0});
    macro.bindings = {{3, 1, 0, 1}};
    macro.targetMap[0] = 2;
    return macro;
}

Bytes libraryMacroBlock(const std::string& name) {
    Golden g;
    g.str("Macro").str(name).str("V00-V31");
    g.str("Digital wave").i32(65536).i32(2).u16(1).u16(0).i32(1);
    g.str("E").u8(1).u16(1).u8(0).u8(0).u8(0).i32(0).i32(0).str("Digital wave end");
    g.u8(2);
    for (int i = 1; i < 16; ++i)
        g.u8(255);
    g.i32(-1).i32(0).i32(0).i32(0).u8(0).u8(0).i32(0);
    g.i32(1).i32(3).u8(1).u8(0).u8(0).u8(0).i32(0).i32(1);
    g.str("Macro end");
    return g.bytes;
}

TDigitalMacro decodeMacro(const Bytes& bytes) {
    ByteReader in(bytes);
    TDigitalMacro macro;
    readMacroBlock(in, macro);
    return macro;
}

TEST(MacroBlock, EncodesTheTableFieldByField) {
    ByteWriter out;
    writeMacroBlock(out, libraryMacro("Pulse"));
    EXPECT_EQ(out.bytes(), libraryMacroBlock("Pulse"));
    EXPECT_TRUE(sameMacro(decodeMacro(libraryMacroBlock("Pulse")), libraryMacro("Pulse")));
}

TEST(MacroBlock, RunningStateSurvivesAndTheFileStaysBehind) {
    TDigitalMacro entry = libraryMacro("Run");
    entry.position = 0;
    entry.remaining = 5;
    entry.cycles = 9;
    entry.value = -2;
    entry.valueSource = kValueCountDown;
    entry.fileOffset = 12;
    entry.valueWidth = 3;
    ByteWriter out;
    writeMacroBlock(out, entry);
    const TDigitalMacro read = decodeMacro(out.bytes());
    EXPECT_TRUE(sameMacro(read, entry));

    TDigitalMacro copy;
    entry.valueFile = ValueFile::open("/proc/self/exe");
    ASSERT_TRUE(entry.valueFile);
    copyMacro(entry, copy);
    EXPECT_TRUE(sameMacro(copy, entry));
    EXPECT_FALSE(copy.valueFile);
}

TEST(MacroBlock, MalformedBlocksAreInvalidFiles) {
    const Bytes good = libraryMacroBlock("M");
    // Offsets of the fields after the template: target map, numbers, value width and source.
    const std::size_t targetMap = good.size() - (4 + 9) - 16 - 4 - 4 - 2 - 16 - 16;
    const std::size_t valueWidth = targetMap + 16 + 16;
    const std::size_t bindingCount = valueWidth + 2 + 4;
    auto changed = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes result = good;
        std::copy(bytes.begin(), bytes.end(), result.begin() + static_cast<std::ptrdiff_t>(at));
        return result;
    };
    ASSERT_NO_THROW(decodeMacro(good));
    EXPECT_EQ(decodeMacro(changed(targetMap, {5})).targetMap[0], 5);
    EXPECT_THROW(decodeMacro(changed(valueWidth, {4})), InvalidFile);
    EXPECT_THROW(decodeMacro(changed(valueWidth + 1, {5})), InvalidFile);
    EXPECT_THROW(decodeMacro(changed(bindingCount, {0xFF, 0xFF, 0xFF, 0xFF})), InvalidFile);
    EXPECT_THROW(decodeMacro(changed(bindingCount, {0xFF, 0xFF, 0xFF, 0x7F})), InvalidFile);
    EXPECT_THROW(decodeMacro(changed(good.size() - 1, {'D'})), InvalidFile);
    EXPECT_THROW(decodeMacro(changed(4, {'m'})), InvalidFile);
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_THROW(
            decodeMacro(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))),
            InvalidFile);
}

TEST(LibraryOrder, SortsByLowerCaseNameKeepingPrefixesInPlace) {
    MacroLibrary library;
    for (const char* name : {"delta", "Alpha", "charlie", "bravo"})
        library.push_back(libraryMacro(name));
    EXPECT_EQ(libraryOrder(library), (std::vector<int>{1, 3, 2, 0}));

    library.clear();
    for (const char* name : {"b", "ab", "a"})
        library.push_back(libraryMacro(name));
    // "ab" and "a" begin alike and are never exchanged.
    EXPECT_EQ(libraryOrder(library), (std::vector<int>{1, 2, 0}));
    EXPECT_TRUE(libraryOrder({}).empty());
}

class MacroLibraryFileTest : public DigitalScratch {};

TEST_F(MacroLibraryFileTest, SavesTheGoldenFileAndReadsItBack) {
    MacroLibrary library = {libraryMacro("One"), libraryMacro("Two")};
    RecordingMessages messages;
    ASSERT_TRUE(saveLibrary(library, folder, messages));
    const Bytes expected = Golden()
                               .str("Digital macros file")
                               .i32(2)
                               .append(libraryMacroBlock("One"))
                               .append(libraryMacroBlock("Two"))
                               .str("Digital macros file end")
                               .bytes;
    EXPECT_EQ(readWholeFile(folder / "DMacros.dat"), expected);
    EXPECT_FALSE(std::filesystem::exists(folder / "DMacrosTmp.dat"));

    MacroLibrary loaded = {libraryMacro("stale")};
    ASSERT_TRUE(loadLibrary(loaded, folder, messages));
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_TRUE(sameMacro(loaded[1], library[1]));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(MacroLibraryFileTest, DamagedFileKeepsWhatWasReadAndEmptyEntries) {
    Bytes bytes =
        Golden().str("Digital macros file").i32(3).append(libraryMacroBlock("First")).bytes;
    const Bytes second = libraryMacroBlock("Second");
    bytes.insert(bytes.end(), second.begin(), second.begin() + 30);
    bytes.resize(bytes.size() + 400, 0);
    put("DMacros.dat", bytes);
    MacroLibrary library;
    RecordingMessages messages;
    EXPECT_FALSE(loadLibrary(library, folder, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor"});
    ASSERT_EQ(library.size(), 3u);
    EXPECT_EQ(library[0].name, "First");
    EXPECT_EQ(library[1].name, "");
    EXPECT_EQ(library[1].wave.length(), 0);
    EXPECT_TRUE(library[1].bindings.empty());
}

TEST_F(MacroLibraryFileTest, ImpossibleCountAndMissingFile) {
    RecordingMessages messages;
    MacroLibrary library;
    EXPECT_FALSE(loadLibrary(library, folder, messages));
    put("DMacros.dat",
        Golden().str("Digital macros file").i32(0x7FFFFFFF).str("Digital macros file end").bytes);
    EXPECT_FALSE(loadLibrary(library, folder, messages));
    EXPECT_TRUE(library.empty());
    put("DMacros.dat",
        Golden().str("Digital macros file").i32(-3).str("Digital macros file end").bytes);
    EXPECT_FALSE(loadLibrary(library, folder, messages));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Nie je mozne otvorit subor: DMacros.dat",
                                                          "Neplatny subor", "Neplatny subor"}));
}

TEST_F(MacroLibraryFileTest, FailedSaveKeepsTheOldLibrary) {
    std::filesystem::create_directories(folder / "DMacros.dat" / "x");
    RecordingMessages messages;
    EXPECT_FALSE(saveLibrary({libraryMacro("A")}, folder, messages));
    EXPECT_FALSE(saveLibrary({libraryMacro("A")}, folder / "gone", messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{
                  "Nie je mozne ulozit digitalne makra (DMacrosTmp.dat, DMacros.dat)",
                  "Nie je mozne ukladat do suboru: DMacrosTmp.dat"}));
}

class MacroExchangeTest : public DigitalScratch {};

TEST_F(MacroExchangeTest, ExportWritesOneBlockIntoTheExportFolder) {
    const MacroLibrary library = {libraryMacro("Z"), libraryMacro("A")};
    RecordingMessages messages;
    ASSERT_TRUE(exportMacro(library, libraryOrder(library), 0, folder, messages));
    EXPECT_EQ(readWholeFile(folder / "Export" / "A.gma"), libraryMacroBlock("A"));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Export ukonceny do: Export/A.gma"});
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Information);

    // Exporting again replaces the file.
    ASSERT_TRUE(exportMacro(library, libraryOrder(library), 0, folder, messages));
    EXPECT_EQ(readWholeFile(folder / "Export" / "A.gma"), libraryMacroBlock("A"));
}

TEST_F(MacroExchangeTest, ExportNeedsALine) {
    const MacroLibrary library = {libraryMacro("A")};
    RecordingMessages messages;
    EXPECT_FALSE(exportMacro(library, libraryOrder(library), -1, folder, messages));
    EXPECT_FALSE(exportMacro(library, libraryOrder(library), 1, folder, messages));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Zvolte si makro", "Zvolte si makro"}));
}

TEST_F(MacroExchangeTest, ExportNeverWritesOutsideTheExportFolder) {
    std::filesystem::create_directories(folder / "Export");
    for (const std::string name : {"../escaped", "sub/inner", "..", "back\\slash"}) {
        const MacroLibrary library = {libraryMacro(name)};
        RecordingMessages messages;
        EXPECT_FALSE(exportMacro(library, {0}, 0, folder, messages));
        EXPECT_EQ(messages.texts(),
                  std::vector<std::string>{"Nie je mozne otvorit subor: Export/" + name + ".gma"});
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "escaped.gma"));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "Export"));
}

TEST_F(MacroExchangeTest, ImportRefusesTakenNamesWithoutRegardToCase) {
    MacroLibrary library = {libraryMacro("A")};
    RecordingMessages messages;
    ASSERT_TRUE(exportMacro(library, {0}, 0, folder, messages));
    const std::filesystem::path file = folder / "Export" / "A.gma";

    EXPECT_FALSE(importMacro(library, file, messages));
    EXPECT_EQ(messages.texts().back(), "Makro s rovnakym menom (A) uz existuje !");
    EXPECT_EQ(library.size(), 1u);

    library = {libraryMacro("b"), libraryMacro("a")};
    EXPECT_FALSE(importMacro(library, file, messages));
    EXPECT_EQ(messages.texts().back(), "Makro s rovnakym menom (a) uz existuje !");
    EXPECT_EQ(library.size(), 2u);

    library = {libraryMacro("b")};
    EXPECT_TRUE(importMacro(library, file, messages));
    EXPECT_EQ(messages.texts().back(), "Import ukonceny do: " + file.string());
    ASSERT_EQ(library.size(), 2u);
    EXPECT_TRUE(sameMacro(library[1], libraryMacro("A")));
}

TEST_F(MacroExchangeTest, ImportOfBadOrMissingFilesChangesNothing) {
    MacroLibrary library = {libraryMacro("A")};
    RecordingMessages messages;
    const Bytes block = libraryMacroBlock("B");
    const auto bad = put("bad.gma", Bytes(block.begin(), block.end() - 3));
    const auto missing = folder / "missing.gma";
    EXPECT_FALSE(importMacro(library, bad, messages));
    EXPECT_FALSE(importMacro(library, missing, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Neplatny subor: " + bad.string(),
                                        "Nie je mozne otvorit subor: " + missing.string()}));
    EXPECT_EQ(library.size(), 1u);
}

}  // namespace
