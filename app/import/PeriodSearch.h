#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/ProgressReporter.h"

// The automatic period search of the import dialogs: the shortest shift p such that the
// record nearly repeats itself after p points, tried with growing tolerances.

struct PeriodSearchResult {
    std::optional<int> period;  // in points; nothing when no period was found
    bool brokenOff = false;     // the operator pressed "Break" (period is then empty)
};

// Runs the search under `progress` (maximum 7, with "Break"), captioned with `caption`.
PeriodSearchResult searchPeriod(std::span<const std::uint8_t> samples, ProgressReporter& progress,
                                const std::string& caption);

// The search of the two-channel import dialog: channel A ("Searching for period on channel A"),
// then, when A has none and the operator did not break off, channel B. `channel` is the one
// whose period was found (or the last one searched).
struct ChannelPeriod {
    PeriodSearchResult result;
    int channel = 0;  // 0 A, 1 B
};
ChannelPeriod searchPeriodOfChannels(std::span<const std::uint8_t> channelA,
                                     std::span<const std::uint8_t> channelB,
                                     ProgressReporter& progress);

// The check of one candidate: true when at most `allowance` pairs of samples whose indexes differ
// by a positive multiple of `period` differ in value by `difference` or more. A period not
// shorter than the record always passes.
bool periodCheckPasses(std::span<const std::uint8_t> samples, int period, int difference,
                       std::int64_t allowance);
