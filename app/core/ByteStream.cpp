#include "core/ByteStream.h"

#include <cstring>

#include "core/UserError.h"

void ByteWriter::u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) u8(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::f64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8) u8(static_cast<std::uint8_t>(bits >> shift));
}

void ByteWriter::raw(const void* data, std::size_t count) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + count);
}

void ByteReader::need(std::size_t count) const {
    if (count > remaining()) throw InvalidFile();
}

void ByteReader::expectEnd() const {
    if (!atEnd()) throw InvalidFile();
}

std::uint8_t ByteReader::u8() {
    need(1);
    return data_[position_++];
}

std::uint16_t ByteReader::u16() {
    need(2);
    std::uint16_t value = static_cast<std::uint16_t>(data_[position_] | data_[position_ + 1] << 8);
    position_ += 2;
    return value;
}

std::uint32_t ByteReader::u32() {
    need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | data_[position_ + static_cast<std::size_t>(i)];
    position_ += 4;
    return value;
}

double ByteReader::f64() {
    need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | data_[position_ + static_cast<std::size_t>(i)];
    position_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void ByteReader::raw(void* out, std::size_t count) {
    std::span<const std::uint8_t> source = take(count);
    if (count != 0) std::memcpy(out, source.data(), count);
}

std::span<const std::uint8_t> ByteReader::take(std::size_t count) {
    need(count);
    std::span<const std::uint8_t> result = data_.subspan(position_, count);
    position_ += count;
    return result;
}

void writeString(ByteWriter& out, std::string_view text) {
    text = text.substr(0, kMaxStoredStringLength);
    out.i32(static_cast<std::int32_t>(text.size()));
    out.raw(text.data(), text.size());
}

std::string readString(ByteReader& in) {
    std::int32_t length = in.i32();
    if (length > kMaxStoredStringLength) throw InvalidFile();
    if (length <= 0) return {};
    std::span<const std::uint8_t> characters = in.take(static_cast<std::size_t>(length));
    return std::string(characters.begin(), characters.end());
}
