#include "digital/StepCount.h"

#include <cmath>
#include <limits>
#include <string>

#include "core/Rounding.h"
#include "core/UnitFormat.h"
#include "digital/IntegerText.h"

std::int32_t parseStepCount(std::string_view text, double tickFrequency) {
    if (text.empty()) return -1;
    if (text.back() == 's') {
        text.remove_suffix(1);
        const std::optional<double> seconds = parseDecimal(commaToPoint(text));
        if (!seconds) return -1;
        const long double ticks = roundHalfEven(static_cast<long double>(*seconds) * tickFrequency);
        if (!std::isfinite(ticks) || ticks < std::numeric_limits<std::int32_t>::min() ||
            ticks > std::numeric_limits<std::int32_t>::max())
            return -1;
        return static_cast<std::int32_t>(ticks);
    }
    return parseInteger32(text).value_or(-1);
}
