#include "EventLog.h"

#include <fcntl.h>
#include <unistd.h>

namespace q745vi {

EventLog::EventLog(std::filesystem::path file) {
    if (!file.empty()) fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

EventLog::~EventLog() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t EventLog::elapsedMicroseconds() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

void EventLog::record(InstrumentEvent event) {
    event.microseconds = elapsedMicroseconds();
    if (fd_ >= 0) appendLine(event.toJson());
    if (recording_) events_.push_back(std::move(event));
}

void EventLog::appendLine(const std::string& json) {
    if (fd_ < 0) return;
    const std::string line = json + "\n";
    // One write per line: O_APPEND keeps lines of several processes whole.
    const ssize_t written = ::write(fd_, line.data(), line.size());
    (void)written;
}

}  // namespace q745vi
