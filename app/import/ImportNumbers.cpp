#include "import/ImportNumbers.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !isDigit(text.front())) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char c : text) {
        if (!isDigit(c)) return std::nullopt;
        magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
        if (magnitude > 2147483648ULL) return std::nullopt;
    }
    if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    if (magnitude > 2147483647ULL) return std::nullopt;
    return static_cast<std::int32_t>(magnitude);
}

std::optional<double> parseDecimalNumber(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and a second sign; a number starts with a digit
    // or the point.
    if (text.empty() || !(isDigit(text.front()) || text.front() == '.')) return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}
