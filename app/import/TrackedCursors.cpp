#include "import/TrackedCursors.h"

#include <algorithm>

CursorPair trackedPair(CursorPair before, CursorPair moved, int number, std::int32_t pointCount) {
    const std::int64_t step = number == 2 ? std::int64_t{moved.second} - before.second
                                          : std::int64_t{moved.first} - before.first;
    const std::int64_t low = std::min(before.first, before.second);
    const std::int64_t high = std::max(before.first, before.second);
    const std::int64_t last = std::max<std::int64_t>(std::int64_t{pointCount} + 1, high);
    const std::int64_t held = std::clamp(step, -low, last - high);
    return {static_cast<std::int32_t>(before.first + held),
            static_cast<std::int32_t>(before.second + held)};
}
