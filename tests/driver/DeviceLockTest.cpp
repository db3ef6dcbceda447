// Two processes drive one parallel port: the device lock must keep their register sequences
// whole. The virtual ports of both share a bus file that counts every access of one process
// inside the other's sequence.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ChildProcess.h"
#include "SharedBusMonitor.h"

namespace fs = std::filesystem;

namespace {

class DeviceLock : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("q745-lock-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "barrier");
        fs::create_directories(folder / "run-a");
        fs::create_directories(folder / "run-b");
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs two workers at once, each with its lock folder; the bus monitor afterwards.
    std::pair<std::int64_t, std::int64_t> runWorkers(const fs::path& runA, const fs::path& runB) {
        const fs::path bus = folder / "bus";
        auto environment = [&](const fs::path& run) {
            return std::map<std::string, std::string>{{"Q745_VIRTUAL_INSTRUMENT", "parallel:0"},
                                                      {"Q745_VIRTUAL_INSTRUMENT_BUS", bus.string()},
                                                      {"XDG_RUNTIME_DIR", run.string()}};
        };
        const std::vector<std::string> arguments = {(folder / "barrier").string(), "2", "400"};
        ChildProcess first(Q745_LOCK_WORKER, arguments, environment(runA));
        ChildProcess second(Q745_LOCK_WORKER, arguments, environment(runB));
        EXPECT_EQ(first.wait(), 0) << first.output();
        EXPECT_EQ(second.wait(), 0) << second.output();
        const q745vi::SharedBusMonitor monitor(bus);
        return {monitor.accesses(), monitor.interleavings()};
    }

    fs::path folder;
};

TEST_F(DeviceLock, KeepsTheRegisterSequencesOfTwoProcessesWhole) {
    const auto [accesses, interleavings] = runWorkers(folder / "run-a", folder / "run-a");
    EXPECT_GT(accesses, 5000);
    EXPECT_EQ(interleavings, 0);
}

// The same workers with a lock file each: nothing keeps them apart, and the bus shows it.
TEST_F(DeviceLock, WithoutACommonLockTheSequencesInterleave) {
    const auto [accesses, interleavings] = runWorkers(folder / "run-a", folder / "run-b");
    EXPECT_GT(accesses, 5000);
    EXPECT_GT(interleavings, 0);
}

}  // namespace
