#pragma once

#include <filesystem>

namespace q745drv {

// The cross-process device lock "EPP_KELVO_MUTEX": a lock file held with flock while this
// process owns it, re-entrant within the process (SetWaveForm calls SetChannelOn while holding
// it). Before create() there is no lock and acquire() returns at once.
class DeviceLock {
public:
    // An empty path means the default: "EPP_KELVO_MUTEX" in $XDG_RUNTIME_DIR, else in the
    // system's temporary folder, looked up at each create().
    explicit DeviceLock(std::filesystem::path file = {});
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    static std::filesystem::path defaultPath();

    // Creates or opens the lock file, replacing an earlier handle; false when it cannot be
    // created or opened (there is no lock then).
    bool create();
    // Waits without time limit until this process owns the lock.
    void acquire();
    // Gives up one level of ownership; true when the release succeeded, false when there was
    // nothing to release.
    bool release();

    bool exists() const { return fd_ >= 0; }
    int depth() const { return depth_; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
    int depth_ = 0;
};

}  // namespace q745drv
