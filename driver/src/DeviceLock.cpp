#include "DeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace q745drv {

DeviceLock::DeviceLock(std::filesystem::path file) : file_(std::move(file)) {}

DeviceLock::~DeviceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path DeviceLock::defaultPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder;
    if (runtime != nullptr && *runtime != '\0') {
        folder = runtime;
    } else {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error);
        if (error) folder = "/tmp";
    }
    return folder / "EPP_KELVO_MUTEX";
}

bool DeviceLock::create() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        depth_ = 0;
    }
    const std::filesystem::path path = file_.empty() ? defaultPath() : file_;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // Another user's lock file may be read-only for us; flock works on it all the same.
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd_ >= 0;
}

void DeviceLock::acquire() {
    if (fd_ < 0) return;
    if (depth_ == 0) {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ++depth_;
}

bool DeviceLock::release() {
    if (fd_ < 0 || depth_ == 0) return false;
    --depth_;
    if (depth_ > 0) return true;
    return ::flock(fd_, LOCK_UN) == 0;
}

}  // namespace q745drv
