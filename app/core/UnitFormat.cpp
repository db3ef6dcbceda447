#include "core/UnitFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "core/Rounding.h"
#include "core/UserError.h"

namespace {

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// The significant digits (no leading or trailing zeros) and the decimal exponent of the first
// digit of a finite, non-zero value in at most 15 significant digits.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits decimalDigits(double magnitude) {
    std::array<char, 64> text{};
    auto result = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                std::chars_format::scientific);
    std::string shortest(text.data(), result.ptr);
    std::size_t e = shortest.find('e');
    std::string mantissa = shortest.substr(0, e);
    std::erase(mantissa, '.');
    if (mantissa.size() > 15) {
        // No text of 15 digits reads back: the value rounded to 15 digits is shown.
        result = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                               std::chars_format::scientific, 14);
        shortest.assign(text.data(), result.ptr);
        e = shortest.find('e');
        mantissa = shortest.substr(0, e);
        std::erase(mantissa, '.');
    }
    DecimalDigits out;
    out.exponent = std::atoi(shortest.c_str() + e + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    out.digits = mantissa;
    return out;
}

// An integral value n written as n / 10^decimals with exactly `decimals` digits after the
// point and the integer digits grouped in thousands when a separator is given.
std::string fixedText(long double scaledInteger, int decimals,
                      std::string_view thousandsSeparator = {}) {
    const bool negative = scaledInteger < 0;
    long double magnitude = std::fabs(scaledInteger);
    std::string digits;
    if (magnitude < 9.2e18L) {
        digits = std::to_string(static_cast<std::uint64_t>(magnitude));
    } else {
        std::array<char, 400> text{};
        auto result = std::to_chars(text.data(), text.data() + text.size(),
                                    static_cast<double>(magnitude), std::chars_format::fixed, 0);
        digits.assign(text.data(), result.ptr);
    }
    if (digits.size() < static_cast<std::size_t>(decimals) + 1)
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string out;
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (negative && !zero) out += '-';
    for (std::size_t i = 0; i < integerLength; ++i) {
        if (i > 0 && (integerLength - i) % 3 == 0) out += thousandsSeparator;
        out += digits[i];
    }
    if (decimals > 0) {
        out += '.';
        out.append(digits, integerLength);
    }
    return out;
}

// round(value * factor) / divisor as plain number text, all in extended precision.
std::string roundedText(long double value, long double factor, long double divisor) {
    return plainNumberText(static_cast<double>(roundHalfEven(value * factor) / divisor));
}

struct PrefixRange {
    double lowerBound;   // the range starts here (inclusive), compared in the value's precision
    long double factor;  // round(value * factor) / 100 is shown
    const char* prefix;
};

// The sub-second ranges of formatTime and formatScaled; below the last bound "p" is used.
constexpr std::array<PrefixRange, 3> kSmallRanges = {{
    {1e-3, 1e5L, "m"},
    {1e-6, 1e8L, "u"},
    {1e-8, 1e11L, "n"},
}};
constexpr PrefixRange kPicoRange = {0, 1e14L, "p"};

// The bounds are compared as doubles: 1e-6 typed by the operator is exactly the bound.
const PrefixRange& smallRangeOf(double x) {
    for (const PrefixRange& range : kSmallRanges)
        if (x >= range.lowerBound) return range;
    return kPicoRange;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string plainNumberText(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    DecimalDigits number = decimalDigits(std::fabs(value));
    std::string out = value < 0 ? "-" : "";
    const std::string& digits = number.digits;
    const int e = number.exponent;
    if (e >= 15 || e < -4) {
        out += digits[0];
        if (digits.size() > 1) out += '.' + digits.substr(1);
        out += e < 0 ? "E-" : "E+";
        out += std::to_string(std::abs(e));
    } else if (e < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-e - 1), '0');
        out += digits;
    } else {
        const std::size_t integerLength = static_cast<std::size_t>(e) + 1;
        if (digits.size() <= integerLength) {
            out += digits;
            out.append(integerLength - digits.size(), '0');
        } else {
            out += digits.substr(0, integerLength) + '.' + digits.substr(integerLength);
        }
    }
    return out;
}

std::string formatFrequencyShort(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const long double x = value;
    if (x < 2) return roundedText(x, 100, 100);
    if (x < 1000) return roundedText(x, 1, 1);
    if (x < 1e6L) return roundedText(x / 100, 1, 10) + "k";
    if (x < 1e9L) return roundedText(x / 1e5L, 1, 10) + "M";
    return roundedText(x / 1e8L, 1, 10) + "G";
}

std::string formatFrequency6(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    long double y = value;
    const char* suffix = "";
    if (y >= 1e6L) {
        y /= 1e6L;
        suffix = "M";
    } else if (y >= 1000) {
        y /= 1000;
        suffix = "k";
    }
    const long double integerPart = std::trunc(y);
    const int integerDigits =
        integerPart >= 9.2e18L ? 19 : digitCount(static_cast<std::int64_t>(integerPart));
    int decimals = 6 - integerDigits;
    if (decimals < 0) decimals = 0;
    return fixedText(roundHalfAway(y * std::pow(10.0L, decimals)), decimals) + suffix;
}

double parseFrequency(std::string_view text) {
    std::string number;
    std::string unit;
    for (char c : text) {
        if (c == ' ') continue;
        if (isDigit(c) || c == ',' || c == '.') {
            if (!unit.empty()) return -1;
            number += c == ',' ? '.' : c;
        } else {
            unit += c;
        }
    }
    std::optional<double> value = parseDecimal(number);
    if (!value) return -1;
    if (unit.empty()) return *value;
    if (unit == "k") return *value * 1000;
    if (unit == "M") return *value * 1e6;
    return -1;
}

std::string formatTime(double seconds) {
    if (!std::isfinite(seconds)) return nonFiniteText(seconds);
    if (seconds == 0) return "0";
    if (seconds < 0) return "-" + formatTime(-seconds);
    const long double x = seconds;
    if (x >= 1) return roundedText(x, 10, 10);
    const PrefixRange& range = smallRangeOf(seconds);
    return roundedText(x, range.factor, 100) + range.prefix;
}

std::string formatScaled(double value, double scale, std::string_view thousandsSeparator) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (scale == 0 || std::isnan(scale)) return "0";
    const long double v = value;
    if (scale >= 1) return fixedText(roundHalfEven(v * 10), 1, thousandsSeparator);
    const PrefixRange& range = smallRangeOf(scale);
    return fixedText(roundHalfEven(v * range.factor), 2, thousandsSeparator) + range.prefix;
}

std::string formatVoltage(double volts) {
    if (!std::isfinite(volts)) return nonFiniteText(volts);
    const bool negative = volts < 0;
    const double magnitude = std::fabs(volts);
    const long double x = magnitude;
    std::string text;
    if (magnitude < 1e-6)
        text = "0";
    else if (x >= 1)
        text = roundedText(x, 1000, 1000);
    else if (magnitude >= 0.001)
        text = roundedText(x, 1e4L, 10) + "m";
    else
        text = roundedText(x, 1e8L, 100) + "u";
    return negative ? "-" + text : text;
}

std::optional<double> parseVoltage(std::string_view text) {
    std::string number;
    std::string unit;
    for (char c : text) {
        if (c == ' ') continue;
        if (isDigit(c) || c == ',' || c == '.' || c == '-') {
            if (!unit.empty()) return std::nullopt;
            number += c == ',' ? '.' : c;
        } else {
            unit += c;
        }
    }
    std::optional<double> value = parseDecimal(number);
    if (!value) return std::nullopt;
    if (unit.size() >= 2 && unit[1] != 'V') return std::nullopt;
    double factor = 1;
    if (!unit.empty()) {
        switch (unit[0]) {
            case 'V':
                factor = 1;
                break;
            case 'm':
                factor = 1e-3;
                break;
            case 'u':
                factor = 1e-6;
                break;
            case 'n':
                factor = 1e-9;
                break;
            default:
                return std::nullopt;
        }
    }
    return *value * factor;
}

std::uint32_t parseHex(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit;
        if (isDigit(c))
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else
            throw UserError("Incorrect hexadecimal number");
        value = value * 16 + digit;  // wraps past eight digits
    }
    return value;
}

int digitCount(std::int64_t value) {
    int count = 0;
    for (; value >= 1; value /= 10)
        ++count;
    return count;
}

std::string formatByteSize(double bytes) {
    if (!std::isfinite(bytes)) return nonFiniteText(bytes);
    long double x = bytes;
    const char* suffix = "";
    if (x >= 1048576) {
        x /= 1048576;
        suffix = "M";
    } else if (x >= 1024) {
        x /= 1024;
        suffix = "k";
    }
    return roundedText(x, 100, 100) + suffix;
}

std::string versionText(int a, int b, int c, int d) {
    return std::to_string(a) + '.' + std::to_string(b) + '.' + std::to_string(c) + '.' +
           std::to_string(d);
}

std::string commaToPoint(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == ',') c = '.';
    return out;
}

std::string fileExtension(std::string_view fileName) {
    std::string collected;
    bool collecting = false;
    for (char c : fileName) {
        if (c == '\\' || c == '/') {
            collected.clear();
            collecting = false;
        } else if (c == '.') {
            collected.clear();
            collecting = true;
        } else if (collecting) {
            collected += c;
        }
    }
    return collected;
}

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    return value >= 0 && value < 10 ? "0" + text : text;
}

std::optional<double> parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    text.remove_prefix(i);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hexadecimal forms: check the shape first.
    std::size_t pos = 0;
    std::size_t mantissaDigits = 0;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos, ++mantissaDigits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        std::size_t exponentDigits = 0;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || last != end) return std::nullopt;
    return value;
}
