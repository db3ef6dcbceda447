#pragma once

#include <cstdint>
#include <string_view>

// The count of "Step", "Ins steps" and "Del steps": a whole number (decimal, or hexadecimal
// after "$" or "0x"), or a time in seconds ending in "s" ("0.001s", "," accepted as the point)
// that becomes that many ticks at tickFrequency Hz, rounded to the nearest integer. -1 (nothing
// to do) for an empty or unreadable text or a count beyond the 32-bit range.
std::int32_t parseStepCount(std::string_view text, double tickFrequency);
