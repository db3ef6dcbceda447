#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Number texts of the files that import mode reads. Both accept surrounding spaces and TABs,
// an optional sign, and nothing else around the number; anything else gives nothing, so that
// the readers turn it into their invalid-file or bad-number message.

// A decimal whole number that fits a signed 32-bit integer.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

// A finite decimal number with "." as separator and an optional exponent ("1.5", ".5", "2.",
// "-3e2"). Infinities, NaN and values beyond the range of a double are refused.
std::optional<double> parseDecimalNumber(std::string_view text);

// text without the spaces and TABs at both ends
std::string_view trimBlanks(std::string_view text);
