#include "Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void JsonWriter::separator() {
    if (needComma_) out_ << ',';
    needComma_ = true;
}

JsonWriter& JsonWriter::beginObject() {
    separator();
    out_ << '{';
    needComma_ = false;
    ++depth_;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ << '}';
    needComma_ = true;
    if (--depth_ == 0) out_ << '\n';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separator();
    out_ << '[';
    needComma_ = false;
    ++depth_;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ << ']';
    needComma_ = true;
    if (--depth_ == 0) out_ << '\n';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    out_ << ':';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separator();
    out_ << '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out_ << "\\\"";
                break;
            case '\\':
                out_ << "\\\\";
                break;
            case '\n':
                out_ << "\\n";
                break;
            case '\r':
                out_ << "\\r";
                break;
            case '\t':
                out_ << "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    // 8-bit characters of the files are shown as their Latin-1 code points.
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out_ << escaped;
                } else {
                    out_ << static_cast<char>(c);
                }
        }
    }
    out_ << '"';
    return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    separator();
    out_ << json;
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    separator();
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(std::uint64_t number) {
    separator();
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) return null();
    separator();
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, number);
    out_.write(text, result.ptr - text);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separator();
    out_ << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null() {
    separator();
    out_ << "null";
    return *this;
}

JsonWriter& JsonWriter::bytes(std::span<const std::uint8_t> data) {
    beginArray();
    for (std::uint8_t b : data) {
        if (needComma_) out_ << ',';
        out_ << static_cast<unsigned>(b);
        needComma_ = true;
    }
    return endArray();
}
