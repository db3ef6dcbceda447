// A save that meets a full disk keeps the old file, leaves no temporary behind and tells the
// operator. The disk is a small tmpfs of the test's own where it may mount one; elsewhere a
// file size limit makes the same writes fail.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "SavedFiles.h"
#include "TempFolder.h"
#include "core/FileStore.h"

namespace {

namespace fs = std::filesystem;

bool writeText(const char* file, const std::string& text) {
    std::ofstream out(file);
    out << text;
    return static_cast<bool>(out.flush());
}

// In a mount namespace of this process alone (as root, or as root of a user namespace).
bool mountSmallDisk(const fs::path& folder) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        if (!writeText("/proc/self/setgroups", "deny") ||
            !writeText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=2m") == 0;
}

// Takes every free block of the disk.
void fillDisk(const fs::path& filler) {
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::vector<char> block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
}

void limitFileSize(rlim_t bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder));
    return files;
}

void checkEveryFile(const fs::path& disk, bool ownDisk) {
    int index = 0;
    for (const SavedFile& file : saved_files::all()) {
        SCOPED_TRACE(file.kind);
        const fs::path folder = disk / std::to_string(index++);
        fs::create_directories(folder);
        RecordingMessages messages;
        ASSERT_TRUE(file.save(folder, 0, messages));
        const std::optional<std::vector<std::uint8_t>> old =
            readWholeFile(folder / file.relativePath);
        ASSERT_TRUE(old.has_value());

        messages.calls.clear();
        if (ownDisk)
            fillDisk(disk / "filler");
        else
            limitFileSize(1024);
        EXPECT_FALSE(file.save(folder, 1, messages));
        if (ownDisk)
            fs::remove(disk / "filler");
        else
            limitFileSize(RLIM_INFINITY);

        EXPECT_EQ(messages.texts(), std::vector<std::string>{file.writeFailure(folder)});
        EXPECT_EQ(readWholeFile(folder / file.relativePath), old);
        EXPECT_EQ(filesIn(folder), std::vector<fs::path>{file.relativePath}) << "a temporary left";
        RecordingMessages reading;
        EXPECT_TRUE(file.load(folder, reading));
    }
}

}  // namespace

TEST(FullDisk, FailedSavesKeepTheOldFileAndSaySo) {
    TempFolder disk;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool ownDisk = mountSmallDisk(disk.path());
        std::printf("Saving on %s\n", ownDisk ? "a full tmpfs" : "files limited to 1024 bytes");
        ::signal(SIGXFSZ, SIG_IGN);
        checkEveryFile(disk.path(), ownDisk);
        std::fflush(stdout);
        ::_exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the checks above failed";
}
