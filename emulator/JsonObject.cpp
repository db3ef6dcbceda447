#include "JsonObject.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace q745vi {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[512];
    // Plain decimals for the magnitudes of an instrument's settings, exponents elsewhere.
    const double magnitude = std::fabs(value);
    const auto format = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e15)
                            ? std::chars_format::fixed
                            : std::chars_format::general;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    return std::string(buffer, result.ptr);
}

std::string jsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += items[i];
    }
    return out + "]";
}

std::string jsonArray(std::span<const std::uint8_t> numbers) {
    std::string out = "[";
    out.reserve(numbers.size() * 4 + 2);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) out += ',';
        out += std::to_string(numbers[i]);
    }
    return out + "]";
}

std::string jsonArray(std::span<const int> numbers) {
    std::string out = "[";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) out += ',';
        out += std::to_string(numbers[i]);
    }
    return out + "]";
}

void JsonObject::addKey(std::string_view key) {
    if (!body_.empty()) body_ += ',';
    body_ += jsonString(key);
    body_ += ':';
}

JsonObject& JsonObject::add(std::string_view key, std::int64_t value) {
    addKey(key);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::add(std::string_view key, std::uint64_t value) {
    addKey(key);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::add(std::string_view key, double value) {
    addKey(key);
    body_ += jsonNumber(value);
    return *this;
}

JsonObject& JsonObject::add(std::string_view key, bool value) {
    addKey(key);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::add(std::string_view key, std::string_view text) {
    addKey(key);
    body_ += jsonString(text);
    return *this;
}

JsonObject& JsonObject::addJson(std::string_view key, std::string_view json) {
    addKey(key);
    body_ += json;
    return *this;
}

}  // namespace q745vi
