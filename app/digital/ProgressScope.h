#pragma once

#include <cstdint>

#include "core/ProgressReporter.h"

// The progress window of a step loop of the digital editors ("Please wait ... " with "Break"),
// closed on every way out of the loop.
class ProgressScope {
public:
    ProgressScope(ProgressReporter& progress, std::int64_t total) : progress_(progress) {
        restart(total);
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    ~ProgressScope() { progress_.progressFinish(); }

    void restart(std::int64_t total) {
        // The window's title is "Please wait ... " alone: no caption follows it.
        progress_.progressStart(total, true, false, "");
    }
    // False after "Break".
    bool reached(std::int64_t position) { return progress_.progressNext(position); }

private:
    ProgressReporter& progress_;
};
