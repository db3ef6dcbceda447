#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The fixed 256-byte text fields of the generators' parameter blocks: one length byte, then up
// to 255 characters; the unused rest of the field is zero.
inline constexpr std::size_t kShortStringFieldSize = 256;

// Writes text (cut to 255 characters) into the 256 bytes at field.
void writeShortString(std::span<std::uint8_t, kShortStringFieldSize> field, std::string_view text);
std::string readShortString(std::span<const std::uint8_t, kShortStringFieldSize> field);
