#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/UserMessages.h"
#include "waves/WaveformRecord.h"

// Records of the R210 family are far shorter; a larger file is refused unread.
inline constexpr std::size_t kLargestR210File = std::size_t{64} << 20;

// A data file of the R210 oscilloscope family: "key: value" settings lines up to the line
// "SettingsEnd", then the samples of channel A and/or B, one whole number per line.
class TR210DataFile {
public:
    // Reads the file; on any failure (also a file that cannot be opened, is not a regular file
    // or is larger than kLargestR210File) shows "Neplatny subor: " + file name and returns
    // false. Nothing of a failed file is kept.
    bool load(const std::filesystem::path& fileName, UserMessages& messages);
    // Reads content already in memory; raises InvalidFile when it is not a valid file.
    void parse(std::span<const std::uint8_t> content);

    // Channels are 0 (A) and 1 (B).
    int channelCount() const;
    // the channel that a one-channel file holds (A when both are present)
    int firstChannel() const;
    // the larger of the two sample counts
    int length() const;
    double ground(int channel) const { return channel == 0 ? groundA_ : groundB_; }
    // samples per second, or -1 for an unknown device type or a code outside 0-30
    double sampleRate() const;
    // full-scale range in millivolts, or -1 for an unknown density code
    std::int32_t range(int channel) const;
    const std::vector<std::uint8_t>& samples(int channel) const {
        return channel == 0 ? samplesA_ : samplesB_;
    }
    // The channel's samples become the record's points.
    void copyChannel(int channel, WaveformRecord& record) const {
        record.points = samples(channel);
    }

    std::int32_t timeBase() const { return timeBase_; }
    std::int32_t density(int channel) const { return channel == 0 ? densityA_ : densityB_; }
    std::int32_t deviceType() const { return deviceType_; }

private:
    std::int32_t timeBase_ = -1;
    std::int32_t densityA_ = -1;
    std::int32_t densityB_ = -1;
    double groundA_ = 128.0;
    double groundB_ = 128.0;
    std::int32_t deviceType_ = -1;
    std::vector<std::uint8_t> samplesA_;
    std::vector<std::uint8_t> samplesB_;
};
