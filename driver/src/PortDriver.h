#pragma once

#include <cstdint>
#include <memory>

namespace q745drv {

// I/O control codes of the parallel-port driver and the buffers each one takes.
enum IoControlCode : std::uint32_t {
    // Port access. Input: u32 direction (kPortWrite/kPortRead), u32 port offset and, for a write,
    // the value byte and three bytes of padding (12 bytes); a read returns 1 byte.
    kIoPortAccess = 0xA028E400,
    // Calibration word. Input: u32 word address and 4 bytes of no meaning; output: u16 word.
    kIoReadCalibration = 0x9C40E458,
    // Block write of the output buffer's bytes to the selected register; no input.
    kIoBlockWrite = 0x9C40E45E,
    // Configuration load of the output buffer's bytes; no input.
    kIoLoadConfiguration = 0x9C40E462,
    // EPP preparation; no buffers.
    kIoPrepareEpp = 0x9C40E466,
    // Driver version: a 2-byte buffer (major, minor) given as both input and output.
    kIoDriverVersion = 0x9C40E46A,
};

inline constexpr std::uint32_t kPortWrite = 0x900;
inline constexpr std::uint32_t kPortRead = 0x800;

// Port register offsets as the port driver numbers them.
enum PortOffset : std::uint32_t {
    kPortData = 0,
    kPortStatus = 1,
    kPortControl = 2,
    kPortEppAddress = 3,
    kPortEppData = 4,
};

// An opened parallel-port driver. Every operation is one synchronous call; the result is true
// on success.
class PortDriver {
public:
    virtual ~PortDriver() = default;
    virtual bool ioControl(std::uint32_t code, void* in, std::uint32_t inSize, void* out,
                           std::uint32_t outSize, std::uint32_t* bytesReturned) = 0;
};

// Opens the port driver; nullptr when it cannot be opened (missing, incomplete or no device).
class PortDriverProvider {
public:
    virtual ~PortDriverProvider() = default;
    virtual std::unique_ptr<PortDriver> open() = 0;
};

}  // namespace q745drv
