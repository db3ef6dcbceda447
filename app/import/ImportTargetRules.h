#pragma once

#include <cstdint>

// Where the one channel of a one-channel oscilloscope file goes ("Select import target").
enum class ImportTarget { Cancelled = -1, Both = 0, ChannelA = 1, ChannelB = 2 };

struct ImportTargetChoices {
    bool both = true;
    bool channelA = false;
    bool channelB = false;
};

// A single channel may replace only an imported waveform that is not longer than the file's
// channel; assigning it to both channels is always possible.
ImportTargetChoices availableImportTargets(std::int64_t channelLength,
                                           std::int64_t importedAPointCount);
