#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

// One signal ("net") of a digital wave: a single output line or a bus of up to 16 lines, and
// the reading and writing of its value inside one 16-bit step word.

inline constexpr int kMaxSignals = 16;
inline constexpr int kMaxSignalWidth = 16;

inline constexpr std::uint8_t kSequenceSignal = 0;
inline constexpr std::uint8_t kClockSignal = 1;

// Bit i of a signal's value drives the line Dk with mask 2^k; shift is k - i.
struct PinEntry {
    std::uint16_t mask = 0;  // 0 only while a pin is being assigned in the configuration dialog
    std::int8_t shift = 0;

    bool operator==(const PinEntry&) const = default;
};

struct TSignal {
    std::string name;
    std::uint8_t width = 1;                        // 1 single line, more a bus
    std::array<PinEntry, kMaxSignalWidth> pins{};  // the first `width` are used
    std::uint8_t kind = kSequenceSignal;
    std::int32_t clockBit = 0;  // a clock outputs this bit of `counter`
    std::int32_t counter = 0;   // a clock's counter for the next appended step

    bool isClock() const { return kind == kClockSignal; }
    std::span<const PinEntry> usedPins() const {
        return {pins.data(), std::min<std::size_t>(width, kMaxSignalWidth)};
    }
    bool isBus() const { return width > 1; }
};

// The signal's value in a step word: bit i is the line of pin i.
std::uint16_t getSignalValue(const TSignal& signal, std::uint16_t word);
// Writes the value's low `width` bits to the signal's lines; other lines keep their levels.
void setSignalValue(const TSignal& signal, std::uint16_t& word, std::uint16_t value);

// The OR of the masks of the used pins.
std::uint16_t signalLineMask(const TSignal& signal);

// "DATA" for a single signal, "DATA[0:7]" for a bus of 8 lines.
std::string signalDisplayName(const TSignal& signal);
// "DATA[2]" for pin 2 of a bus, "DATA" for a single signal.
std::string pinDisplayName(const TSignal& signal, int pin);

// The index of the lowest set bit (the line number of a pin), -1 for an empty mask.
int lineOfMask(std::uint16_t mask);
