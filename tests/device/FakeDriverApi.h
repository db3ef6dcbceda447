#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "device/DriverApi.h"

// Stands in for the driver library: records every call as "Name(arg,arg)" and answers from
// what the test set up.
class FakeDriverApi final : public DriverApi {
public:
    struct Upload {
        std::int32_t channel, length, phase, step;
        std::vector<std::uint8_t> data;
    };
    struct Version {
        std::uint8_t result = 1;
        std::array<std::uint8_t, 2> version{3, 0};
    };

    std::vector<std::string> calls;
    std::vector<Upload> uploads;
    // Per interface (0 parallel, 1 USB).
    std::array<std::int32_t, 2> setInterfaceResult{0, 0};
    std::array<std::array<std::uint8_t, 16>, 2> devices{};
    std::array<Version, 2> driverVersion{};
    // InitHardware answers from the queue first, then by device index on the current interface,
    // then 1011.
    std::deque<std::int32_t> initResults;
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> initByIndex;
    float oscillator = 50000000.0f;
    std::int32_t currentInterface = 0;

    // Drops the calls recorded so far (the initialisation, usually).
    void forget() {
        calls.clear();
        uploads.clear();
    }
    std::vector<std::string> callsNamed(const std::string& prefix) const {
        std::vector<std::string> result;
        for (const std::string& call : calls)
            if (call.rfind(prefix, 0) == 0) result.push_back(call);
        return result;
    }

    std::int32_t SetInterface(std::int32_t mode) override {
        record("SetInterface", {mode});
        std::int32_t result = setInterfaceResult[mode == 1 ? 1 : 0];
        if (result == 0) currentInterface = mode;
        return result;
    }
    std::uint16_t SetPrinterBase(std::int32_t base) override {
        record("SetPrinterBase", {base});
        return static_cast<std::uint16_t>(base);
    }
    std::int32_t SetEPBOn(std::int32_t on) override { return record("SetEPBOn", {on}); }
    char GetVersionCode() override { return 'N'; }
    std::int32_t InitHardware(std::int32_t deviceIndex) override {
        record("InitHardware", {deviceIndex});
        if (!initResults.empty()) {
            std::int32_t result = initResults.front();
            initResults.pop_front();
            return result;
        }
        auto found = initByIndex.find({currentInterface, deviceIndex});
        return found != initByIndex.end() ? found->second : 1011;
    }
    std::int32_t GetAllDevices(std::uint8_t* list) override {
        record("GetAllDevices", {});
        for (std::size_t k = 0; k < 16; ++k)
            list[k] = devices[currentInterface == 1][k];
        return 1;
    }
    std::uint8_t GetDriverVersion(std::int32_t which, std::uint8_t* version) override {
        record("GetDriverVersion", {which});
        const Version& answer = driverVersion[which == 1 ? 1 : 0];
        version[0] = answer.version[0];
        version[1] = answer.version[1];
        return answer.result;
    }
    float SetFrequency(float frequency) override {
        record("SetFrequency", {static_cast<std::int32_t>(frequency)});
        // The instrument's grid: the nearest multiple of 3 Hz (so a produced frequency
        // requested again is produced unchanged).
        return std::round(frequency / 3.0f) * 3.0f;
    }
    float GetOscillatorFrequency() override {
        record("GetOscillatorFrequency", {});
        return oscillator;
    }
    std::int32_t SetWaveForm(const std::uint8_t* data, std::int32_t channel, std::int32_t length,
                             std::int32_t phase, std::int32_t step) override {
        record("SetWaveForm", {channel, length, phase, step});
        std::size_t count = length == -1 ? 16384 : static_cast<std::size_t>(length);
        uploads.push_back(
            {channel, length, phase, step, std::vector<std::uint8_t>(data, data + count)});
        return 1;
    }
    std::int32_t SetLevel(std::int32_t c, std::int32_t v) override {
        return record("SetLevel", {c, v});
    }
    std::int32_t SetShift(std::int32_t c, std::int32_t v) override {
        return record("SetShift", {c, v});
    }
    std::int32_t SetExternalLevel(std::int32_t c, std::int32_t v) override {
        return record("SetExternalLevel", {c, v});
    }
    std::int32_t SetFilter(std::int32_t c, std::int32_t v) override {
        return record("SetFilter", {c, v});
    }
    std::int32_t SetOutput(std::int32_t c, std::int32_t v) override {
        return record("SetOutput", {c, v});
    }
    std::int32_t SetChannelOn(std::int32_t c, std::int32_t v) override {
        return record("SetChannelOn", {c, v});
    }
    std::int32_t SetTriggerMode(std::int32_t v) override { return record("SetTriggerMode", {v}); }
    std::int32_t SetTriggerEdge(std::int32_t v) override { return record("SetTriggerEdge", {v}); }
    std::int32_t SetExternalTriggerUse(std::int32_t v) override {
        return record("SetExternalTriggerUse", {v});
    }
    std::int32_t SetGeneratorOn(std::int32_t v) override { return record("SetGeneratorOn", {v}); }
    std::int32_t SetDigitalOutputOn(std::int32_t v) override {
        return record("SetDigitalOutputOn", {v});
    }
    std::int32_t SetDigitalVoltage(std::int32_t v) override {
        return record("SetDigitalVoltage", {v});
    }

private:
    std::int32_t record(const std::string& name, std::initializer_list<std::int32_t> args) {
        std::string text = name + "(";
        bool first = true;
        for (std::int32_t arg : args) {
            if (!first) text += ",";
            text += std::to_string(arg);
            first = false;
        }
        calls.push_back(text + ")");
        return 1;
    }
};
