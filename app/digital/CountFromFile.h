#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "Count from file" of "Add macro": how many values of valueWidth + 1 bytes the file holds from
// the offset on ((size - offset) div (valueWidth + 1)). Nothing when the offset is no whole
// number (decimal, or hexadecimal after "$" or "0x") or the file cannot be opened.
std::optional<std::int32_t> countFromFile(const std::string& fileName, std::string_view offsetText,
                                          int valueWidth);
