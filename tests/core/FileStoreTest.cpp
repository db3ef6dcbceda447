#include "core/FileStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class FileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
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
