#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the download window shows of a transfer in progress.
struct DownloadFigures {
    // "H:MM:SS" left at the present speed, and the speed ("1.5kb/s"); nothing before any time
    // has passed, and no time left before a byte arrived or while the total is unknown.
    std::optional<std::string> timeRemaining;
    std::optional<std::string> speed;
    // "1.5kb /3.2Mb"; an unknown total shows as "N/A"
    std::string progress;
};

// received and total in bytes (total below 0: not announced); elapsedMs since the connection
// was made.
DownloadFigures downloadFigures(std::int64_t received, std::int64_t total, std::int64_t elapsedMs);

// Hours without a leading zero, minutes and seconds in two digits: 0:03:07.
std::string durationText(std::int64_t seconds);
