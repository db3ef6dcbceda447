#pragma once

#include <cstdint>
#include <string>

// Upper-case hexadecimal digits of a value, without leading zeros beyond minimumDigits.
std::string upperHex(std::uint32_t value, int minimumDigits = 1);
