#include "digital/HexText.h"

std::string upperHex(std::uint32_t value, int minimumDigits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    while (value != 0 || static_cast<int>(text.size()) < minimumDigits) {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    }
    return text;
}
