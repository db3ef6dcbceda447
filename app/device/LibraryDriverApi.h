#pragma once

#include "device/DriverApi.h"

// The driver library linked into the program: every call goes to its export of that name.
class LibraryDriverApi final : public DriverApi {
public:
    std::int32_t SetInterface(std::int32_t mode) override;
    std::uint16_t SetPrinterBase(std::int32_t base) override;
    std::int32_t SetEPBOn(std::int32_t on) override;
    char GetVersionCode() override;

    std::int32_t InitHardware(std::int32_t deviceIndex) override;
    std::int32_t GetAllDevices(std::uint8_t* list) override;
    std::uint8_t GetDriverVersion(std::int32_t which, std::uint8_t* version) override;

    float SetFrequency(float frequency) override;
    float GetOscillatorFrequency() override;
    std::int32_t SetWaveForm(const std::uint8_t* data, std::int32_t channel, std::int32_t length,
                             std::int32_t phase, std::int32_t step) override;

    std::int32_t SetLevel(std::int32_t channel, std::int32_t level) override;
    std::int32_t SetShift(std::int32_t channel, std::int32_t shift) override;
    std::int32_t SetExternalLevel(std::int32_t channel, std::int32_t on) override;
    std::int32_t SetFilter(std::int32_t channel, std::int32_t filter) override;
    std::int32_t SetOutput(std::int32_t channel, std::int32_t normal) override;
    std::int32_t SetChannelOn(std::int32_t channel, std::int32_t on) override;

    std::int32_t SetTriggerMode(std::int32_t mode) override;
    std::int32_t SetTriggerEdge(std::int32_t edge) override;
    std::int32_t SetExternalTriggerUse(std::int32_t source) override;
    std::int32_t SetGeneratorOn(std::int32_t on) override;
    std::int32_t SetDigitalOutputOn(std::int32_t on) override;
    std::int32_t SetDigitalVoltage(std::int32_t voltage) override;
};
