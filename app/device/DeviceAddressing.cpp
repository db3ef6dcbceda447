#include "device/DeviceAddressing.h"

#include <array>

namespace {
constexpr std::array<std::int32_t, 4> PortAddresses{0x378, 0x278, 0x3F8, 0x2F8};
}  // namespace

int portItemOfAddress(std::int32_t address) {
    for (std::size_t item = 0; item < PortAddresses.size(); ++item)
        if (PortAddresses[item] == address) return static_cast<int>(item);
    return 0;
}

std::int32_t portAddressOfItem(int item) {
    if (item < 0 || item >= static_cast<int>(PortAddresses.size())) return PortAddresses[0];
    return PortAddresses[static_cast<std::size_t>(item)];
}

std::string deviceItemText(int index, std::uint8_t listByte) {
    std::string text = "Address " + std::to_string(index);
    if (listByte != 0) {
        text += " (Q7";
        text += static_cast<char>('0' + ((listByte >> 4) & 7));
        text += static_cast<char>('0' + (listByte & 7) + 1);
        text += ')';
    }
    return text;
}

std::string unprobedDeviceItemText(int index) {
    return "Address " + std::to_string(index) + " (N/A)";
}
