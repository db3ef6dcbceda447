#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace q745drv {

// The configuration of the instrument's programmable logic, held scrambled with a one-byte key.
// Only the bytes from the first 0xFF (the logic's sync byte) to the end are sent.
class ConfigurationImage {
public:
    static constexpr std::size_t kSize = 6889;

    static std::uint8_t byteAt(std::size_t index);
    // Index of the first byte that unscrambles to 0xFF; kSize when there is none.
    static std::size_t syncIndex();
    // Unscrambles bytes first .. kSize-1 into out, which holds at least kSize - first bytes.
    static void unscramble(std::size_t first, std::span<std::uint8_t> out);
};

}  // namespace q745drv
