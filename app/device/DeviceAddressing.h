#pragma once

#include <cstdint>
#include <string>

// How the communication settings show the ways to reach the instrument.

// The items of the port list: 0 "378h", 1 "278h", 2 "3F8h", 3 "2F8h". An address not in the
// list shows as item 0; an item not in the list means 0x378.
int portItemOfAddress(std::int32_t address);
std::int32_t portAddressOfItem(int item);

// The device index item: "Address " k, followed for a device that answered (byte of the
// device list not 0) by its model, " (Q7" with the digits (byte >> 4) & 7 and (byte & 7) + 1
// and ")".
std::string deviceItemText(int index, std::uint8_t listByte);
// An item of an interface that cannot be probed: "Address " k " (N/A)".
std::string unprobedDeviceItemText(int index);
