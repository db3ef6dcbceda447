#pragma once

#include <cstdint>

#include "RegisterAccess.h"

namespace q745drv {

// Level, shift, output path, filter and external level of the two analog channels, and their
// switching on and off. Codes from the application become calibrated DAC codes; the last level
// and shift are kept so that a change of path or a switch-on can write them again.
// Every operation takes the device lock and returns the release result.
class AnalogOutputs {
public:
    explicit AnalogOutputs(RegisterAccess& registers) : registers_(registers) {}

    std::int32_t setShift(std::int32_t channel, std::int32_t shift);
    std::int32_t setLevel(std::int32_t channel, std::int32_t level);
    std::int32_t setExternalLevel(std::int32_t channel, std::int32_t on);
    // 0 "Low", 1 "High", anything else no filter.
    std::int32_t setFilter(std::int32_t channel, std::int32_t filter);
    // bit 0: 1 normal path, 0 the -20 dB path.
    std::int32_t setOutput(std::int32_t channel, std::int32_t normal);
    // 1 on, anything else off (the channel is parked at its calibrated zero).
    std::int32_t setChannelOn(std::int32_t channel, std::int32_t on);

    // Calibrated DAC codes (before the DAC keeps their low 12 bits).
    static std::int64_t shiftDacCode(const CalibrationTable& calibration, int set,
                                     std::int32_t shift);
    static std::int64_t levelDacCode(const CalibrationTable& calibration, int set,
                                     std::int32_t level);

private:
    // The kept shift and level, through the calibration of the channel's path.
    void applyShift(int channel);
    void applyLevel(int channel);
    void switchOn(int channel);
    void park(int channel);

    RegisterAccess& registers_;
};

}  // namespace q745drv
