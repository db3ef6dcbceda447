#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ProgressReporter.h"

// The automatic period search of the import dialogs: the shortest shift p such that the
// record nearly repeats itself after p points, tried with growing tolerances.

struct PeriodSearchResult {
    std::optional<int> period;  // in points; nothing when no period was found
    bool brokenOff = false;     // the operator pressed "Break" (period is then empty)
};

// Runs the search under `progress` (maximum 7, with "Break"), captioned with `caption`.
PeriodSearchResult searchPeriod(std::span<const std::uint8_t> samples, ProgressReporter& progress,
                                const std::string& caption);

// The check of one candidate: true when at most `allowance` pairs of samples whose indexes differ
// by a positive multiple of `period` differ in value by `difference` or more. A period not
// shorter than the record always passes.
bool periodCheckPasses(std::span<const std::uint8_t> samples, int period, int difference,
                       std::int64_t allowance);
