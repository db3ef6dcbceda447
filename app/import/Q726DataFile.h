#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/UserMessages.h"

// What a data file of the Q726 oscilloscope holds: a text header of "key=value" lines with
// "[channel_a]" / "[channel_b]" sections, each channel's raw sample bytes following a line
// "--- begin ---".
struct Q726FileResult {
    double rangeA = -1;  // full-scale range in millivolts, -1 when missing
    double rangeB = -1;
    double sampleRate = -1;  // samples per second, -1 when missing
    std::int32_t lengthA = -1;
    std::int32_t lengthB = -1;
    std::vector<std::uint8_t> samplesA;
    std::vector<std::uint8_t> samplesB;
};

// Two channels of at most 35000 samples and a short header; a larger file is refused unread.
inline constexpr std::size_t kLargestQ726File = std::size_t{16} << 20;

// Reads a Q726 file. A file that cannot be opened (or is not a regular file) gives false
// without a message; an invalid or too large one shows "Neplatny subor: " + file name and
// gives false, leaving `result` untouched.
bool readQ726File(const std::filesystem::path& fileName, UserMessages& messages,
                  Q726FileResult& result);
// Reads content already in memory; raises InvalidFile when it is not a valid file.
Q726FileResult parseQ726(std::span<const std::uint8_t> content);
