#include "digital/DigitalSignal.h"

#include <bit>

namespace {

// Moves a 16-bit pattern by `shift` places (right when positive); whatever leaves the 16 bits is
// lost, so shifts of 16 or more give 0 whatever a file stored.
std::uint16_t moveRight(std::uint16_t bits, int shift) {
    if (shift >= 16 || shift <= -16) return 0;
    if (shift >= 0) return static_cast<std::uint16_t>(bits >> shift);
    return static_cast<std::uint16_t>(bits << -shift);
}

}  // namespace

std::uint16_t getSignalValue(const TSignal& signal, std::uint16_t word) {
    std::uint16_t result = 0;
    for (const PinEntry& pin : signal.usedPins())
        result = static_cast<std::uint16_t>(result + moveRight(word & pin.mask, pin.shift));
    return result;
}

void setSignalValue(const TSignal& signal, std::uint16_t& word, std::uint16_t value) {
    std::uint16_t lineMask = 0;
    std::uint16_t bits = 0;
    for (const PinEntry& pin : signal.usedPins()) {
        lineMask |= pin.mask;
        bits |= moveRight(value, -pin.shift) & pin.mask;
    }
    word = static_cast<std::uint16_t>((word & ~lineMask) | (bits & lineMask));
}

std::uint16_t signalLineMask(const TSignal& signal) {
    std::uint16_t lineMask = 0;
    for (const PinEntry& pin : signal.usedPins())
        lineMask |= pin.mask;
    return lineMask;
}

std::string signalDisplayName(const TSignal& signal) {
    if (signal.width <= 1) return signal.name;
    return signal.name + "[0:" + std::to_string(signal.width - 1) + "]";
}

std::string pinDisplayName(const TSignal& signal, int pin) {
    if (signal.width <= 1) return signal.name;
    return signal.name + "[" + std::to_string(pin) + "]";
}

int lineOfMask(std::uint16_t mask) {
    return mask == 0 ? -1 : std::countr_zero(mask);
}
