#include "SharedBusMonitor.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace q745vi {

SharedBusMonitor::SharedBusMonitor(const std::filesystem::path& file)
    : self_(static_cast<std::int32_t>(::getpid())) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    struct stat info {};
    // A new file is zero-filled by the extension: no owner, no counts.
    if (::fstat(fd, &info) == 0 && (info.st_size >= static_cast<off_t>(sizeof(Shared)) ||
                                    ::ftruncate(fd, sizeof(Shared)) == 0)) {
        void* map = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (map != MAP_FAILED) shared_ = static_cast<Shared*>(map);
    }
    ::close(fd);
}

SharedBusMonitor::~SharedBusMonitor() {
    if (shared_ != nullptr) ::munmap(shared_, sizeof(Shared));
}

bool SharedBusMonitor::access(bool endsSequence) {
    if (shared_ == nullptr) return false;
    std::atomic_ref<std::int64_t>(shared_->accesses).fetch_add(1);
    std::atomic_ref<std::int32_t> owner(shared_->owner);
    std::int32_t previous;
    if (endsSequence) {
        previous = self_;
        if (owner.compare_exchange_strong(previous, 0) || previous == 0) return false;
    } else {
        previous = owner.exchange(self_);
        if (previous == 0 || previous == self_) return false;
    }
    std::atomic_ref<std::int64_t>(shared_->interleavings).fetch_add(1);
    return true;
}

std::int64_t SharedBusMonitor::interleavings() const {
    if (shared_ == nullptr) return 0;
    return std::atomic_ref<std::int64_t>(shared_->interleavings).load();
}

std::int64_t SharedBusMonitor::accesses() const {
    if (shared_ == nullptr) return 0;
    return std::atomic_ref<std::int64_t>(shared_->accesses).load();
}

}  // namespace q745vi
