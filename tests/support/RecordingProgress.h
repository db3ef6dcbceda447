#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ProgressReporter.h"

// Records what a long operation reports and presses "Break" once the position reaches
// breakAt (never when it is negative).
class RecordingProgress final : public ProgressReporter {
public:
    void progressStart(std::int64_t newMaximum, bool allowBreak, bool showAtOnce,
                       const std::string& caption) override {
        ++starts;
        maximum = newMaximum;
        breakAllowed = allowBreak;
        showNow = showAtOnce;
        captions.push_back(caption);
        position = 0;
        finished = false;
    }
    bool progressNext(std::int64_t newPosition) override {
        position = newPosition;
        ++calls;
        return breakAt < 0 || position < breakAt;
    }
    bool progressStep() override { return progressNext(position + 1); }
    void progressFinish() override { finished = true; }

    std::int64_t breakAt = -1;
    int starts = 0;
    std::int64_t maximum = 0;
    bool breakAllowed = false;
    bool showNow = false;
    std::vector<std::string> captions;
    std::int64_t position = 0;
    std::int64_t calls = 0;
    bool finished = false;
};
