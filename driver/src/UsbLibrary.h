#pragma once

#include <cstdint>
#include <memory>

namespace q745drv {

// A loaded USB access library with all of its required functions bound.
class UsbLibrary {
public:
    virtual ~UsbLibrary() = default;
    virtual std::int32_t initDevice() = 0;  // 0 when an instrument is attached and ready
    virtual void flushBuffer() = 0;         // every cycle issued so far has reached the instrument
    virtual void writeAddress(std::uint8_t address) = 0;
    virtual void writeData(std::uint8_t value) = 0;
    virtual void setEpb() = 0;
    virtual std::uint8_t readData() = 0;
    virtual void writeBuffer(const std::uint8_t* data, std::int32_t count) = 0;
    virtual void loadFpga(const std::uint8_t* data, std::int32_t count) = 0;
    virtual void readFromEeprom(std::uint16_t address, std::uint16_t* word) = 0;
    virtual void setDllBehaviour(std::int32_t value) = 0;
    // The optional version function; false when the library has none.
    virtual bool driverVersion(std::uint8_t* version) = 0;
};

// Loads the USB library and binds its functions by name; nullptr when it cannot be loaded or
// lacks one of the required functions (the library is then unloaded again).
class UsbLibraryProvider {
public:
    virtual ~UsbLibraryProvider() = default;
    virtual std::unique_ptr<UsbLibrary> load() = 0;
};

}  // namespace q745drv
