#include "import/CursorTracking.h"

#include <algorithm>
#include <cstdlib>

std::int32_t cursorDistance(CursorPair pair) {
    return static_cast<std::int32_t>(
        std::llabs(static_cast<std::int64_t>(pair.second) - pair.first));
}

CursorPair matchCursorDistance(CursorPair moved, CursorPair other, std::int32_t otherPointCount) {
    const std::int64_t distance = cursorDistance(moved);
    const std::int64_t last = std::max<std::int32_t>(otherPointCount, 0);
    std::int64_t start = std::min(other.first, other.second);
    std::int64_t end = start + distance;
    if (end > last) {
        end = last;
        start = std::max<std::int64_t>(end - distance, 0);
    }
    const auto low = static_cast<std::int32_t>(start);
    const auto high = static_cast<std::int32_t>(end);
    if (other.first <= other.second) return {low, high};
    return {high, low};
}
