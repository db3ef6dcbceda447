#pragma once

#include <array>
#include <cstdint>

#include "ConfigurationImage.h"
#include "RegisterAccess.h"

namespace q745drv {

// Result codes of InitHardware.
enum InitResult : std::int32_t {
    kInitialised = 1000,
    kCalibrationChecksumMismatch = 999,
    kConfigurationIncomplete = 1002,
    kCommunicationFailed = 1010,
    kNoInstrument = 1011,
    kLockUnavailable = 1012,
    kPortDriverUnavailable = 1013,
};

// GetDriverVersion results.
enum DriverPresence : std::uint8_t {
    kPortDriverPresent = 1,
    kUsbLibraryPresent = 2,
    kComponentMissing = 3,
};

// Configuring the instrument's logic, its register defaults and calibration; the list of
// instruments on the port; the versions of the port driver and the USB library.
class HardwareInitialisation {
public:
    explicit HardwareInitialisation(RegisterAccess& registers) : registers_(registers) {}

    std::int32_t initHardware(std::int32_t deviceIndex);
    // Fills 16 bytes with the model ID at each device index (0: none answers). The release
    // result, or -1 when the port driver cannot be opened.
    std::int32_t getAllDevices(std::uint8_t* list);
    // which: -1 the transport in use, 1 the USB library, anything else the port driver.
    std::uint8_t getDriverVersion(std::int32_t which, std::uint8_t* version);

    // The model ID at the current device offset, 0xFF when the communication check fails.
    std::uint8_t readDeviceId();

private:
    bool communicationTest();
    bool communicationAttempt(bool flag);
    bool loadConfiguration();
    void writeDefaults();
    bool readCalibration();
    std::uint8_t usbDriverVersion(std::uint8_t* version);
    std::uint8_t portDriverVersion(std::uint8_t* version);

    RegisterAccess& registers_;
    std::array<std::uint8_t, ConfigurationImage::kSize> configuration_{};
};

}  // namespace q745drv
