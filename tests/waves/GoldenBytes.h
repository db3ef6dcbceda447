#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Builds expected file contents byte by byte from the layout tables, independently of the
// writer under test.
class GoldenBytes {
public:
    GoldenBytes& byte(std::uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    GoldenBytes& int32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            byte(static_cast<std::uint8_t>(bits >> shift));
        return *this;
    }
    GoldenBytes& float64(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        for (int shift = 0; shift < 64; shift += 8)
            byte(static_cast<std::uint8_t>(bits >> shift));
        return *this;
    }
    GoldenBytes& text(const std::string& characters) {
        bytes.insert(bytes.end(), characters.begin(), characters.end());
        return *this;
    }
    GoldenBytes& string(const std::string& characters) {
        int32(static_cast<std::int32_t>(characters.size()));
        return text(characters);
    }
    GoldenBytes& repeat(std::size_t count, std::uint8_t value) {
        bytes.insert(bytes.end(), count, value);
        return *this;
    }
    GoldenBytes& append(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    std::vector<std::uint8_t> bytes;
};
