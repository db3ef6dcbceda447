#include "AnalogOutputs.h"

#include <cmath>
#include <cstdlib>

namespace q745drv {

namespace {

// Level codes of the two calibration points (1.6 V and 16 V peak-to-peak).
constexpr long double kLevelLowPoint = 215.57L;
constexpr long double kLevelSpan = 3880.43L;

// Switch register bits, per channel shifted by 4.
constexpr int kPathNormalBit = 0;
constexpr int kFilterHighBit = 1;
constexpr int kFilterLowBit = 2;
constexpr int kExternalLevelBit = 3;

int calibrationSet(const DriverState& state, int channel) {
    return state.outputPath[channel] + channel;
}

}  // namespace

std::int64_t AnalogOutputs::shiftDacCode(const CalibrationTable& calibration, int set,
                                         std::int32_t shift) {
    const long double low = calibration.shiftLow[set];
    const long double high = calibration.shiftHigh[set];
    return static_cast<std::int64_t>(std::trunc(low + (high - low) * (shift * (1.0L / 4096.0L))));
}

std::int64_t AnalogOutputs::levelDacCode(const CalibrationTable& calibration, int set,
                                         std::int32_t level) {
    const long double low = calibration.levelLow[set];
    const long double high = calibration.levelHigh[set];
    return static_cast<std::int64_t>(
        std::trunc(low + (high - low) * ((level - kLevelLowPoint) * (1.0L / kLevelSpan))));
}

void AnalogOutputs::applyShift(int channel) {
    const DriverState& state = registers_.state();
    registers_.writeDac(channel + 2, shiftDacCode(state.calibration, calibrationSet(state, channel),
                                                  state.shiftValue[channel]));
}

void AnalogOutputs::applyLevel(int channel) {
    const DriverState& state = registers_.state();
    registers_.writeDac(channel, levelDacCode(state.calibration, calibrationSet(state, channel),
                                              state.levelValue[channel]));
}

std::int32_t AnalogOutputs::setShift(std::int32_t channelArgument, std::int32_t shift) {
    const int channel = channelIndex(channelArgument);
    DriverState& state = registers_.state();
    registers_.acquireDevice();
    state.shiftValue[channel] = shift;
    if (state.channelOn[channel]) applyShift(channel);
    return registers_.releaseDevice();
}

std::int32_t AnalogOutputs::setLevel(std::int32_t channelArgument, std::int32_t level) {
    const int channel = channelIndex(channelArgument);
    DriverState& state = registers_.state();
    registers_.acquireDevice();
    state.levelValue[channel] = level;
    if (state.channelOn[channel]) applyLevel(channel);
    return registers_.releaseDevice();
}

std::int32_t AnalogOutputs::setExternalLevel(std::int32_t channelArgument, std::int32_t on) {
    const int channel = channelIndex(channelArgument);
    registers_.acquireDevice();
    registers_.setShadowBit(kSwitchImage, channel * 4 + kExternalLevelBit, on & 1);
    registers_.writeSwitchRegister(registers_.state().shadow[kSwitchImage]);
    return registers_.releaseDevice();
}

std::int32_t AnalogOutputs::setFilter(std::int32_t channelArgument, std::int32_t filter) {
    const int channel = channelIndex(channelArgument);
    registers_.acquireDevice();
    registers_.setShadowBit(kSwitchImage, channel * 4 + kFilterHighBit, filter == 1 ? 1 : 0);
    registers_.setShadowBit(kSwitchImage, channel * 4 + kFilterLowBit, filter == 0 ? 1 : 0);
    registers_.writeSwitchRegister(registers_.state().shadow[kSwitchImage]);
    return registers_.releaseDevice();
}

std::int32_t AnalogOutputs::setOutput(std::int32_t channelArgument, std::int32_t normal) {
    const int channel = channelIndex(channelArgument);
    DriverState& state = registers_.state();
    registers_.acquireDevice();
    state.outputPath[channel] = (normal & 1) * 2;
    // A channel that is off only records the path; it takes effect at switch-on.
    if (state.channelOn[channel]) {
        registers_.setShadowBit(kSwitchImage, channel * 4 + kPathNormalBit, normal & 1);
        registers_.writeSwitchRegister(state.shadow[kSwitchImage]);
        applyShift(channel);
        applyLevel(channel);
    }
    return registers_.releaseDevice();
}

std::int32_t AnalogOutputs::setChannelOn(std::int32_t channelArgument, std::int32_t on) {
    const int channel = channelIndex(channelArgument);
    registers_.acquireDevice();
    if (on == 1)
        switchOn(channel);
    else
        park(channel);
    return registers_.releaseDevice();
}

void AnalogOutputs::switchOn(int channel) {
    DriverState& state = registers_.state();
    state.channelOn[channel] = 1;
    registers_.setShadowBit(kChannelControl, channel + 2, 1);
    registers_.refreshRegister(kChannelControl);
    applyShift(channel);
    applyLevel(channel);
    registers_.setShadowBit(kSwitchImage, channel * 4 + kPathNormalBit,
                            state.outputPath[channel] / 2);
    registers_.writeSwitchRegister(state.shadow[kSwitchImage]);
    applyShift(channel);
    applyLevel(channel);
}

void AnalogOutputs::park(int channel) {
    DriverState& state = registers_.state();
    const std::uint8_t control = state.shadow[kChannelControl];
    const std::uint8_t divider = state.shadow[kClockDivider];
    registers_.writeRegister(kRunControl, 0x00);
    state.channelOn[channel] = 0;
    registers_.writeDac(channel + 2, state.calibration.shiftOff[channel]);
    registers_.writeDac(channel, 128);
    registers_.setShadowBit(kSwitchImage, channel * 4 + kPathNormalBit, 1);
    registers_.writeSwitchRegister(state.shadow[kSwitchImage]);
    // Both memories selected for writing with the clock stopped: the 0x80 written to the data
    // port then holds the output at mid-scale.
    registers_.setShadowBit(kChannelControl, 5, 1);
    registers_.setShadowBit(kChannelControl, channel + 2, 1);
    registers_.setShadowBit(kChannelControl, std::abs(channel - 1) + 2, 0);
    registers_.setShadowBit(kChannelControl, 1, 1);
    registers_.setShadowBit(kChannelControl, 0, 1);
    registers_.refreshRegister(kChannelControl);
    registers_.writeRegister(kClockDivider, 0);
    registers_.writeRegister(kMemoryData, 0x80);
    state.shadow[kChannelControl] = control & static_cast<std::uint8_t>(~(1u << (channel + 2)));
    registers_.refreshRegister(kChannelControl);
    state.shadow[kClockDivider] = divider;
    registers_.refreshRegister(kClockDivider);
    registers_.resumeRun();
}

}  // namespace q745drv
