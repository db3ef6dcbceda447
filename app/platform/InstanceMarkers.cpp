#include "platform/InstanceMarkers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace {

void closeLock(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

std::filesystem::path InstanceMarkers::defaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime)
        return runtime;
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temporary;
}

InstanceMarkers::InstanceMarkers(std::filesystem::path folder) : folder_(std::move(folder)) {}

InstanceMarkers::~InstanceMarkers() {
    closeLock(slotLock_);
    closeLock(instanceLock_);
}

int InstanceMarkers::takeMarker(const std::string& name) const {
    const std::filesystem::path path = folder_ / name;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool InstanceMarkers::markerHeld(const std::string& name) const {
    int fd = takeMarker(name);
    if (fd < 0) return true;
    closeLock(fd);
    return false;
}

bool InstanceMarkers::takeInstanceMarker() {
    closeLock(instanceLock_);
    instanceLock_ = takeMarker(InstanceMarkerName);
    return instanceLock_ >= 0;
}

void InstanceMarkers::releaseInstanceMarker() {
    closeLock(instanceLock_);
}

int InstanceMarkers::takeSlotMarker() {
    closeLock(slotLock_);
    for (int n = 0; n < SlotCount; ++n) {
        slotLock_ = takeMarker(SlotMarkerPrefix + std::to_string(n));
        slot_ = n;
        if (slotLock_ >= 0) break;
    }
    return slot_;
}

bool InstanceMarkers::releaseSlotMarker() {
    closeLock(slotLock_);
    bool anyHeld = false;
    for (int n = 0; n < SlotCount; ++n) {
        if (markerHeld(SlotMarkerPrefix + std::to_string(n))) anyHeld = true;
    }
    return !anyHeld;
}
