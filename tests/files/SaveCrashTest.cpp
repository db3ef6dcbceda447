// A process killed at a random moment while it saves one of our files leaves the old or the new
// file whole on disk, and the program reads it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <thread>

#include "SavedFiles.h"
#include "TempFolder.h"
#include "core/FileStore.h"

namespace {

constexpr int kKillsPerFile = 100;

using Clock = std::chrono::steady_clock;

// The bytes each version of the file has on disk.
std::vector<std::uint8_t> savedBytes(const SavedFile& file, int version) {
    TempFolder scratch;
    RecordingMessages messages;
    EXPECT_TRUE(file.save(scratch.path(), version, messages));
    return readWholeFile(scratch.path() / file.relativePath).value_or(std::vector<std::uint8_t>{});
}

// A child that saves the two versions in turn until it is killed; it returns once the child
// is about to begin, so that the kill times count from there.
pid_t startSaving(const SavedFile& file, const std::filesystem::path& folder) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        RecordingMessages messages;
        ::close(ready[0]);
        ::close(ready[1]);
        for (int version = 0;; version ^= 1)
            file.save(folder, version, messages);
    }
    ::close(ready[1]);
    char end;
    // Returns when the child has closed its end.
    while (::read(ready[0], &end, 1) < 0 && errno == EINTR) {
    }
    ::close(ready[0]);
    return child;
}

}  // namespace

TEST(SaveCrash, KilledSavesLeaveTheOldOrTheNewFile) {
    std::mt19937 random(745);
    for (const SavedFile& file : saved_files::all()) {
        SCOPED_TRACE(file.kind);
        const std::vector<std::uint8_t> versions[2] = {savedBytes(file, 0), savedBytes(file, 1)};
        ASSERT_FALSE(versions[0].empty());
        ASSERT_NE(versions[0], versions[1]);

        TempFolder folder;
        RecordingMessages messages;
        ASSERT_TRUE(file.save(folder.path(), 0, messages));
        const Clock::time_point start = Clock::now();
        ASSERT_TRUE(file.save(folder.path(), 1, messages));
        // Kills spread over about three saves, so that they land in every phase of one.
        const auto saveTime =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        std::uniform_int_distribution<std::int64_t> delay(0, 3 * saveTime.count() + 200);

        for (int kill = 0; kill < kKillsPerFile; ++kill) {
            const pid_t child = startSaving(file, folder.path());
            ASSERT_GT(child, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            ::kill(child, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);

            const std::optional<std::vector<std::uint8_t>> onDisk =
                readWholeFile(folder.path() / file.relativePath);
            ASSERT_TRUE(onDisk.has_value()) << "after kill " << kill;
            ASSERT_TRUE(*onDisk == versions[0] || *onDisk == versions[1])
                << "a torn file after kill " << kill;
            RecordingMessages reading;
            ASSERT_TRUE(file.load(folder.path(), reading)) << reading.texts().front();
        }
    }
}
