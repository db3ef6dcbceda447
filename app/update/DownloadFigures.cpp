#include "update/DownloadFigures.h"

#include <cstdio>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

std::string durationText(std::int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

DownloadFigures downloadFigures(std::int64_t received, std::int64_t total, std::int64_t elapsedMs) {
    DownloadFigures figures;
    if (elapsedMs > 0) {
        const double speed = static_cast<double>(received) / static_cast<double>(elapsedMs) * 1000;
        figures.speed = formatByteSize(speed) + "b/s";
        if (speed > 0 && total >= received)
            figures.timeRemaining = durationText(static_cast<std::int64_t>(
                roundHalfEven(static_cast<double>(total - received) / speed)));
    }
    figures.progress = formatByteSize(static_cast<double>(received)) + "b /" +
                       (total >= 0 ? formatByteSize(static_cast<double>(total)) + "b" : "N/A");
    return figures;
}
