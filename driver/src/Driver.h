#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "AnalogOutputs.h"
#include "DeviceLock.h"
#include "DriverState.h"
#include "FrequencySynthesis.h"
#include "HardwareInitialisation.h"
#include "RegisterAccess.h"
#include "Transport.h"
#include "TriggerOutputs.h"
#include "WaveformUpload.h"

namespace q745drv {

// One connection to the instrument: the state, the transport, the device lock and the register
// sequences of every export. The library holds one for the process; tests make their own on a
// virtual instrument.
class Driver {
public:
    Driver(std::unique_ptr<PortDriverProvider> portDrivers,
           std::unique_ptr<UsbLibraryProvider> usbLibraries, std::filesystem::path lockFile = {});
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    std::int32_t setInterface(std::int32_t mode) { return transport_.setInterface(mode); }
    std::uint16_t setPrinterBase(std::int32_t base);
    std::int32_t setEpbOn(std::int32_t on);
    static char versionCode() { return 'N'; }

    std::int32_t initHardware(std::int32_t deviceIndex) {
        return initialisation_.initHardware(deviceIndex);
    }
    std::int32_t getAllDevices(std::uint8_t* list) { return initialisation_.getAllDevices(list); }
    std::uint8_t getDriverVersion(std::int32_t which, std::uint8_t* version) {
        return initialisation_.getDriverVersion(which, version);
    }

    float setFrequency(float frequency) { return frequency_.setFrequency(frequency); }
    float oscillatorFrequency() const { return frequency_.oscillatorFrequency(); }

    std::int32_t setWaveForm(const std::uint8_t* data, std::int32_t channel, std::int32_t length,
                             std::int32_t phase, std::int32_t step) {
        return upload_.setWaveForm(data, channel, length, phase, step);
    }

    AnalogOutputs& analog() { return analog_; }
    TriggerOutputs& trigger() { return trigger_; }
    // Direct register access for tests of the primitives.
    RegisterAccess& registers() { return registers_; }
    const DriverState& state() const { return state_; }
    const DeviceLock& lock() const { return lock_; }
    Transport& transport() { return transport_; }

private:
    DriverState state_;
    Transport transport_;
    DeviceLock lock_;
    RegisterAccess registers_;
    HardwareInitialisation initialisation_;
    FrequencySynthesis frequency_;
    AnalogOutputs analog_;
    TriggerOutputs trigger_;
    WaveformUpload upload_;
};

}  // namespace q745drv
