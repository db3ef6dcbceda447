#pragma once

#include <cstdint>

// The communication settings: how the instrument is reached. Kept by the settings store; the
// device search at start-up may change the interface and the device index.
struct DeviceSettings {
    bool useUsb = false;                // false: parallel port
    std::int32_t portAddress = 0x378;   // base address of the parallel port
    std::int32_t baseAddressIndex = 0;  // device index 0..15 on the port
};
