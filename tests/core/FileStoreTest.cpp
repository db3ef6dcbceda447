#include "core/FileStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class FileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("q745-filestore-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(FileStoreTest, ReplacesTheTargetAndLeavesNoTemporary) {
    const fs::path target = folder / "Waves.dat";
    const fs::path temporary = folder / "WavesTmp.dat";
    std::ofstream(target) << "old";
    std::ofstream(temporary) << "stale temporary from a crash";

    const std::vector<std::uint8_t> bytes = {'n', 'e', 'w'};
    EXPECT_EQ(replaceFileAtomically(target, temporary, bytes), ReplaceResult::Replaced);
    EXPECT_EQ(readWholeFile(target), bytes);
    EXPECT_FALSE(fs::exists(temporary));
}

TEST_F(FileStoreTest, UncreatableTemporaryLeavesTheTargetAlone) {
    const fs::path target = folder / "Waves.dat";
    std::ofstream(target) << "old";
    const std::vector<std::uint8_t> bytes = {1};
    EXPECT_EQ(replaceFileAtomically(target, folder / "missing" / "WavesTmp.dat", bytes),
              ReplaceResult::CannotCreateTemporary);
    EXPECT_EQ(readWholeFile(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST_F(FileStoreTest, MissingFileReadsAsNothing) {
    EXPECT_FALSE(readWholeFile(folder / "nothing.dat").has_value());
    EXPECT_FALSE(writeWholeFile(folder / "no" / "such" / "folder.gaw", {}));
}

TEST_F(FileStoreTest, OnlyRegularFilesAreReadAndNoneWaits) {
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), folder})
        EXPECT_EQ(readFileOfKind(path, 1024).status, ReadStatus::CannotOpen) << path;
}

TEST_F(FileStoreTest, FilesLargerThanTheirKindAreRefusedUnread) {
    const fs::path sparse = folder / "sparse";
    std::ofstream(sparse).close();
    fs::resize_file(sparse, std::uintmax_t{1} << 30);
    const FileRead huge = readFileOfKind(sparse, 1 << 20);
    EXPECT_EQ(huge.status, ReadStatus::TooLarge);
    EXPECT_EQ(huge.content.capacity(), 0u);

    fs::resize_file(sparse, 100);
    EXPECT_EQ(readFileOfKind(sparse, 100).status, ReadStatus::Read);
    EXPECT_EQ(readFileOfKind(sparse, 99).status, ReadStatus::TooLarge);
}

// A file of the operator's choice: his "X.tmp" and a folder in the target's place are left
// alone, the file keeps its permissions and a link stays a link.
TEST_F(FileStoreTest, ReplacingAFileOfTheOperatorsTouchesNothingElse) {
    const fs::path target = folder / "X.gaw";
    std::ofstream(target) << "old";
    std::ofstream(folder / "X.gaw.tmp") << "mine";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const std::vector<std::uint8_t> bytes = {'n', 'e', 'w'};
    ASSERT_EQ(replaceFileAtomically(target, bytes), ReplaceResult::Replaced);
    EXPECT_EQ(readWholeFile(target), bytes);
    EXPECT_EQ(readWholeFile(folder / "X.gaw.tmp"), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);

    fs::create_symlink("X.gaw", folder / "link.gaw");
    ASSERT_EQ(replaceFileAtomically(folder / "link.gaw", {}), ReplaceResult::Replaced);
    EXPECT_TRUE(fs::is_symlink(folder / "link.gaw"));
    EXPECT_EQ(fs::file_size(target), 0u);

    fs::create_directory(folder / "empty");
    EXPECT_EQ(replaceFileAtomically(folder / "empty", bytes), ReplaceResult::CannotCreateTemporary);
    EXPECT_TRUE(fs::is_directory(folder / "empty"));
    EXPECT_EQ(replaceFileAtomically(fs::path("/dev/null"), bytes),
              ReplaceResult::CannotCreateTemporary);
}

TEST_F(FileStoreTest, AFolderInThePlaceOfTheTemporaryIsKept) {
    fs::create_directory(folder / "WavesTmp.dat");
    EXPECT_EQ(replaceFileAtomically(folder / "Waves.dat", folder / "WavesTmp.dat", {}),
              ReplaceResult::CannotCreateTemporary);
    EXPECT_TRUE(fs::is_directory(folder / "WavesTmp.dat"));
    EXPECT_FALSE(fs::exists(folder / "Waves.dat"));
}
