#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "InstrumentEvent.h"

namespace q745vi {

// Keeps decoded events in memory while recording is on (for tests) and appends each as one
// JSON line to a log file when one is set (Q745_VIRTUAL_INSTRUMENT_LOG). Lines are written
// with single appends, so that several processes may share one file.
class EventLog : public EventSink {
public:
    explicit EventLog(std::filesystem::path file = {});
    ~EventLog() override;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    void record(InstrumentEvent event) override;
    // Appends one line of JSON text to the file (the final state).
    void appendLine(const std::string& json);

    void setRecording(bool on) { recording_ = on; }
    const std::vector<InstrumentEvent>& events() const { return events_; }
    void clear() { events_.clear(); }
    bool hasFile() const { return fd_ >= 0; }

    std::int64_t elapsedMicroseconds() const;

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool recording_ = false;
    std::vector<InstrumentEvent> events_;
    int fd_ = -1;
};

}  // namespace q745vi
