#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A typed whole number of the digital dialogs: optional sign, then decimal digits, or hexadecimal
// digits after "$" or "0x". Spaces around it are ignored. A decimal number must fit a signed
// 32-bit integer; up to eight hexadecimal digits are taken as the 32 bits ("$FFFFFFFF" is -1).
// Nothing for any other text.
std::optional<std::int32_t> parseInteger32(std::string_view text);
