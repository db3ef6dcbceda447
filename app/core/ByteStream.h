#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Little-endian encoding of the binary files of the application ("Waves.dat", ".gaw",
// "DWave.dat", ".gdw", "DMacros.dat", ".gma"). Files are read whole into memory and parsed
// with ByteReader, which never reads past the end: a short file raises InvalidFile.

class ByteWriter {
public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void f64(double value);
    void raw(const void* data, std::size_t count);
    void raw(std::span<const std::uint8_t> data) { raw(data.data(), data.size()); }

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64();
    // Copies count bytes; InvalidFile when fewer remain.
    void raw(void* out, std::size_t count);
    // A view of the next count bytes, consumed; InvalidFile when fewer remain.
    std::span<const std::uint8_t> take(std::size_t count);
    void skip(std::size_t count) { take(count); }

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return data_.size() - position_; }
    bool atEnd() const { return position_ == data_.size(); }
    // Nothing follows the content of a file of ours: InvalidFile when bytes are left.
    void expectEnd() const;

private:
    void need(std::size_t count) const;

    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
};

// The string encoding of all data files: a signed 32-bit length, then the 8-bit characters.
inline constexpr std::int32_t kMaxStoredStringLength = 1024;
inline constexpr std::size_t kLargestStoredStringSize = 4 + kMaxStoredStringLength;
// Writes at most the first 1024 characters, so that every file we write reads back (a typed
// name or a value file's path has no other limit).
void writeString(ByteWriter& out, std::string_view text);
// A length above 1024 (or beyond the end of the data) raises InvalidFile; a length of 0 or
// less gives an empty text.
std::string readString(ByteReader& in);
