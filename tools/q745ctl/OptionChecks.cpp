#include "OptionChecks.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "core/UnitFormat.h"

namespace {

std::string refusal(const std::string& what, const std::string& allowed, const std::string& text) {
    return what + " must be " + allowed + ": " + text;
}

}  // namespace

CLI::Validator wholeNumber(const std::string& what, std::int64_t minimum, std::int64_t maximum) {
    const std::string allowed = std::to_string(minimum) + " to " + std::to_string(maximum);
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            const char* first = text.data();
            const char* last = text.data() + text.size();
            if (first != last && *first == '+') ++first;
            std::int64_t value = 0;
            const auto [end, error] = std::from_chars(first, last, value);
            if (error != std::errc() || end != last || value < minimum || value > maximum)
                return refusal(what, allowed, text);
            text = std::to_string(value);
            return {};
        },
        "[" + allowed + "]");
}

CLI::Validator decimalNumber(const std::string& what, double minimum, double maximum) {
    const bool bounded = minimum > std::numeric_limits<double>::lowest() ||
                         maximum < std::numeric_limits<double>::max();
    const std::string allowed =
        bounded ? plainNumberText(minimum) + " to " + plainNumberText(maximum) : "a number";
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            const std::string decimal = commaToPoint(text);
            const std::optional<double> value = parseDecimal(decimal);
            if (!value || !std::isfinite(*value) || !(*value >= minimum && *value <= maximum))
                return refusal(what, allowed, text);
            text = decimal;
            return {};
        },
        bounded ? "[" + allowed + "]" : "");
}

CLI::Validator choice(const std::string& what,
                      const std::vector<std::vector<std::string>>& choices) {
    std::string allowed;
    for (std::size_t i = 0; i < choices.size(); ++i)
        allowed += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i].front();
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            for (std::size_t i = 0; i < choices.size(); ++i) {
                for (const std::string& spelling : choices[i]) {
                    if (text == spelling) {
                        text = std::to_string(i);
                        return {};
                    }
                }
            }
            return refusal(what, allowed, text);
        },
        "");
}

CLI::Validator channel() {
    return choice("Channel", {{"A", "a", "0"}, {"B", "b", "1"}});
}
