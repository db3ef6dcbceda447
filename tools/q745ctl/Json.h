#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

// A minimal streaming JSON writer for the command-line tool's output.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(std::uint64_t number);
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // A value that is already JSON text, written as it is.
    JsonWriter& raw(std::string_view json);
    // An array of numbers written on one line.
    JsonWriter& bytes(std::span<const std::uint8_t> data);

    template <typename T>
    JsonWriter& field(std::string_view name, const T& v) {
        key(name);
        return value(v);
    }

private:
    void separator();

    std::ostream& out_;
    bool needComma_ = false;
    int depth_ = 0;
};
