#pragma once

#include <cstdint>
#include <string>

// Progress of a long operation. The application backs it with its progress window (shown
// after one second, with a "Break" button); the operation stops its loop as soon as
// progressNext or progressStep returns false.
class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    virtual void progressStart(std::int64_t maximum, bool breakAllowed, bool showNow,
                               const std::string& caption) = 0;
    // false when the operator asked to break off
    virtual bool progressNext(std::int64_t position) = 0;
    virtual bool progressStep() = 0;
    virtual void progressFinish() = 0;
};

// For callers that need no progress display (command-line tools, benchmarks).
class SilentProgress final : public ProgressReporter {
public:
    void progressStart(std::int64_t, bool, bool, const std::string&) override { position_ = 0; }
    bool progressNext(std::int64_t position) override {
        position_ = position;
        return true;
    }
    bool progressStep() override { return progressNext(position_ + 1); }
    void progressFinish() override {}

private:
    std::int64_t position_ = 0;
};
