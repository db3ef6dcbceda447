#include "ConfigurationImage.h"

#include <array>
#include <string_view>

namespace q745drv {

namespace {

constexpr std::uint8_t kKey = 0xA5;

// A header the logic ignores, the sync byte, then the logic's configuration stream.
constexpr std::array<std::uint8_t, ConfigurationImage::kSize> makeScrambledImage() {
    std::array<std::uint8_t, ConfigurationImage::kSize> image{};
    constexpr std::string_view header = "Q745 LOGIC 1.00";
    std::size_t i = 0;
    for (char c : header)
        image[i++] = static_cast<std::uint8_t>(c);
    image[i++] = 0x00;
    image[i++] = 0xFF;
    std::uint32_t seed = 0x7451u;
    for (; i < image.size(); ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        image[i] = static_cast<std::uint8_t>(seed >> 11);
    }
    for (std::uint8_t& byte : image)
        byte ^= kKey;
    return image;
}

constexpr std::array<std::uint8_t, ConfigurationImage::kSize> kScrambled = makeScrambledImage();

}  // namespace

std::uint8_t ConfigurationImage::byteAt(std::size_t index) {
    return static_cast<std::uint8_t>(kScrambled[index] ^ kKey);
}

std::size_t ConfigurationImage::syncIndex() {
    for (std::size_t i = 0; i < kSize; ++i) {
        if (byteAt(i) == 0xFF) return i;
    }
    return kSize;
}

void ConfigurationImage::unscramble(std::size_t first, std::span<std::uint8_t> out) {
    for (std::size_t i = first; i < kSize; ++i)
        out[i - first] = byteAt(i);
}

}  // namespace q745drv
