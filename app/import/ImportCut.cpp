#include "import/ImportCut.h"

#include <algorithm>

#include "waves/WaveformStatistics.h"

WaveformRecord cutRecord(const WaveformRecord& source, CursorPair cursors) {
    const std::int64_t start = std::max(std::min(cursors.first, cursors.second), 0);
    const std::int64_t end = std::max(cursors.first, cursors.second);
    const std::int64_t last = std::min<std::int64_t>(end - 2, source.pointCount() - 1);
    WaveformRecord cut;
    cut.setName(source.name());
    cut.imported = 1;
    if (last >= start)
        cut.points.assign(source.points.begin() + start, source.points.begin() + last + 1);
    computeStatistics(cut);
    return cut;
}

std::optional<std::string> stretchProblem(CursorPair cursors) {
    const std::int32_t distance = cursorDistance(cursors);
    if (distance <= 1) return "Velkost periody musi byt nenulova";
    if (distance - 1 > kMaxRecordPointCount)
        return "Usek je dlhsi ako 262144 bodov, ktore pojme pamat generatora.";
    return std::nullopt;
}

std::int32_t periodEndCursor(std::int32_t period) {
    return period + 1;
}
