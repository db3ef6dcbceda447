#include "generators/ShortStringField.h"

#include <algorithm>

void writeShortString(std::span<std::uint8_t, kShortStringFieldSize> field, std::string_view text) {
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    const std::size_t length = std::min(text.size(), kShortStringFieldSize - 1);
    field[0] = static_cast<std::uint8_t>(length);
    std::copy_n(text.begin(), length, field.begin() + 1);
}

std::string readShortString(std::span<const std::uint8_t, kShortStringFieldSize> field) {
    return std::string(field.begin() + 1, field.begin() + 1 + field[0]);
}
