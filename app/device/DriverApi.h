#pragma once

#include <cstdint>

// The exports of the driver library as the device layer calls them. The application uses
// LibraryDriverApi (the linked library itself); tests put recorders in its place.
// Meanings and units are those of driver/include/q745drv.h.
class DriverApi {
public:
    virtual ~DriverApi() = default;

    virtual std::int32_t SetInterface(std::int32_t mode) = 0;
    virtual std::uint16_t SetPrinterBase(std::int32_t base) = 0;
    virtual std::int32_t SetEPBOn(std::int32_t on) = 0;
    virtual char GetVersionCode() = 0;

    virtual std::int32_t InitHardware(std::int32_t deviceIndex) = 0;
    virtual std::int32_t GetAllDevices(std::uint8_t* list) = 0;
    virtual std::uint8_t GetDriverVersion(std::int32_t which, std::uint8_t* version) = 0;

    virtual float SetFrequency(float frequency) = 0;
    virtual float GetOscillatorFrequency() = 0;
    virtual std::int32_t SetWaveForm(const std::uint8_t* data, std::int32_t channel,
                                     std::int32_t length, std::int32_t phase,
                                     std::int32_t step) = 0;

    virtual std::int32_t SetLevel(std::int32_t channel, std::int32_t level) = 0;
    virtual std::int32_t SetShift(std::int32_t channel, std::int32_t shift) = 0;
    virtual std::int32_t SetExternalLevel(std::int32_t channel, std::int32_t on) = 0;
    virtual std::int32_t SetFilter(std::int32_t channel, std::int32_t filter) = 0;
    virtual std::int32_t SetOutput(std::int32_t channel, std::int32_t normal) = 0;
    virtual std::int32_t SetChannelOn(std::int32_t channel, std::int32_t on) = 0;

    virtual std::int32_t SetTriggerMode(std::int32_t mode) = 0;
    virtual std::int32_t SetTriggerEdge(std::int32_t edge) = 0;
    virtual std::int32_t SetExternalTriggerUse(std::int32_t source) = 0;
    virtual std::int32_t SetGeneratorOn(std::int32_t on) = 0;
    virtual std::int32_t SetDigitalOutputOn(std::int32_t on) = 0;
    virtual std::int32_t SetDigitalVoltage(std::int32_t voltage) = 0;
};

// Result codes of InitHardware.
namespace initresult {
inline constexpr std::int32_t Initialized = 1000;
inline constexpr std::int32_t CalibrationCorrupt = 999;
inline constexpr std::int32_t FpgaBurnProblem = 1002;
inline constexpr std::int32_t CommunicationProblem = 1010;
inline constexpr std::int32_t DeviceNotPresent = 1011;
inline constexpr std::int32_t PortControlProblem = 1012;
inline constexpr std::int32_t PortDriverMissing = 1013;
}  // namespace initresult
