#pragma once

#include <cstdint>

#include "DeviceLock.h"
#include "DriverState.h"
#include "Transport.h"

namespace q745drv {

// The instrument as a file of byte registers behind an EPP address cycle, with the bit-serial
// buses of the quad DAC and the output switch register, and the device lock that brackets
// every register sequence.
class RegisterAccess {
public:
    RegisterAccess(Transport& transport, DeviceLock& lock, DriverState& state)
        : transport_(transport), lock_(lock), state_(state) {}

    Transport& transport() { return transport_; }
    DeviceLock& lock() { return lock_; }
    DriverState& state() { return state_; }

    void acquireDevice() { lock_.acquire(); }
    // Ends the sequence on the bus and releases the lock; non-zero when the release succeeded.
    std::int32_t releaseDevice();

    void selectRegister(int reg);
    void writeDataByte(int value);
    std::uint8_t readDataByte();
    // Writes the register and records the value in its shadow.
    void writeRegister(int reg, int value);
    // Writes the shadow value again.
    void refreshRegister(int reg);
    // Register 12 back to the generator's run state (runBits, bit 6 always set).
    void resumeRun();
    // Prepares one bit of a shadow register without touching the device.
    void setShadowBit(int reg, int bit, int value);
    // The last address played (0..0x3FFFF) to registers 5, 6 and bits 0-1 of 7; the other bits
    // of register 7 stay.
    void writeEndAddress(std::uint32_t end);

    // One 16-bit word to the quad DAC: DAC number in bits 15-14, the low 12 bits of the code in
    // bits 11-0, most significant bit first. DAC 0/1 are the levels of A/B, 2/3 their shifts.
    void writeDac(int dac, std::int64_t code);
    // The 8 bits of the output switch register, most significant first; the image is kept.
    void writeSwitchRegister(std::uint8_t image);
    std::uint16_t readCalibrationWord(std::uint32_t address);

private:
    Transport& transport_;
    DeviceLock& lock_;
    DriverState& state_;
};

}  // namespace q745drv
