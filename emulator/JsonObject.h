#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q745vi {

// Builds the text of one JSON object field by field; nested objects and arrays are added as
// text made the same way.
class JsonObject {
public:
    JsonObject& add(std::string_view key, std::int64_t value);
    JsonObject& add(std::string_view key, int value) { return add(key, std::int64_t{value}); }
    JsonObject& add(std::string_view key, unsigned value) { return add(key, std::int64_t{value}); }
    JsonObject& add(std::string_view key, std::uint64_t value);
    JsonObject& add(std::string_view key, double value);  // NaN and infinities become null
    JsonObject& add(std::string_view key, bool value);
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) {
        return add(key, std::string_view(text));
    }
    // A value that is already JSON text (an object or array).
    JsonObject& addJson(std::string_view key, std::string_view json);

    std::string text() const { return "{" + body_ + "}"; }

private:
    void addKey(std::string_view key);
    std::string body_;
};

std::string jsonString(std::string_view text);
std::string jsonNumber(double value);
std::string jsonArray(const std::vector<std::string>& items);
std::string jsonArray(std::span<const std::uint8_t> numbers);
std::string jsonArray(std::span<const int> numbers);

}  // namespace q745vi
