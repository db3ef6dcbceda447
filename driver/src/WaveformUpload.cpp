#include "WaveformUpload.h"

#include <cstring>
#include <span>

namespace q745drv {

namespace {

constexpr int kMemoryWriteBit = 5;
constexpr int kOctaveModeBit = 3;

// Register 12 during a memory load; these writes leave its shadow alone.
constexpr int kRunStopped = 0x00;
constexpr int kLoadPrepare = 0x20;
constexpr int kLoadArmed = 0xA0;
constexpr int kLoadEnd = 0x80;
constexpr int kLoadDone = 0x40;
// The data port takes two sync bytes before the memory data.
constexpr int kMemorySync = 0x80;

}  // namespace

WaveformUpload::WaveformUpload(RegisterAccess& registers, AnalogOutputs& outputs,
                               FrequencySynthesis& frequency)
    : registers_(registers),
      outputs_(outputs),
      frequency_(frequency),
      transfer_(static_cast<std::size_t>(kMaxRawLength)) {}

std::int32_t WaveformUpload::setWaveForm(const std::uint8_t* data, std::int32_t channelArgument,
                                         std::int32_t length, std::int32_t phase,
                                         std::int32_t step) {
    const bool octaveSet = length == -1;
    if (data == nullptr) return 0;
    if (!octaveSet && (length < 1 || length > kMaxRawLength)) return 0;
    if (octaveSet && (step < 1 || step > kMaxStep)) return 0;

    const int channel = channelIndex(channelArgument);
    DriverState& state = registers_.state();
    const bool wasOn = state.channelOn[channel] != 0;
    if (wasOn) outputs_.setChannelOn(channel, 0);

    registers_.acquireDevice();
    prepareLoad(channel);
    if (octaveSet)
        loadOctaveSet(data, phase, step, channel);
    else
        loadRaw(data, length, channel);
    finishLoad(channel);
    // The channel is off here: park it properly before the lock goes.
    outputs_.setChannelOn(channel, 0);
    const std::int32_t released = registers_.releaseDevice();
    return wasOn ? outputs_.setChannelOn(channel, 1) : released;
}

void WaveformUpload::prepareLoad(int channel) {
    DriverState& state = registers_.state();
    Transport& transport = registers_.transport();
    registers_.selectRegister(kRunControl);
    registers_.writeDataByte(kRunStopped);
    transport.flushUsb();
    Transport::waitAtLeast(5);
    registers_.selectRegister(kClockDivider);
    registers_.writeDataByte(0x00);
    registers_.selectRegister(kRunControl);
    registers_.writeDataByte(kLoadPrepare);

    registers_.selectRegister(kChannelControl);
    savedControl_ = state.shadow[kChannelControl];
    for (int bit : {2, 3, 0, 1})
        registers_.setShadowBit(kChannelControl, bit, 0);
    registers_.setShadowBit(kChannelControl, channel, 1);
    registers_.setShadowBit(kChannelControl, kMemoryWriteBit, 1);
    registers_.writeDataByte(state.shadow[kChannelControl]);

    savedEndTop_ = state.shadow[kEndAddressTop];
    registers_.selectRegister(kEndAddressTop);
    registers_.setShadowBit(kEndAddressTop, kOctaveModeBit, 0);
    registers_.writeDataByte(state.shadow[kEndAddressTop]);

    savedTrigger_ = state.shadow[kTrigger];
    registers_.selectRegister(kTrigger);
    registers_.setShadowBit(kTrigger, 0, 0);
    registers_.writeDataByte(state.shadow[kTrigger]);

    registers_.selectRegister(kRunControl);
    registers_.writeDataByte(kLoadArmed);
    transport.flushUsb();
    Transport::waitAtLeast(5);

    // Either form is loaded with the whole memory open, through the synchronised data port.
    registers_.writeEndAddress(0x3FFFF);
    registers_.selectRegister(kMemoryData);
    registers_.writeDataByte(kMemorySync);
    registers_.writeDataByte(kMemorySync);
}

void WaveformUpload::loadOctaveSet(const std::uint8_t* data, std::int32_t phase, std::int32_t step,
                                   int channel) {
    DriverState& state = registers_.state();
    state.octaveMode[channel] = 1;
    decimator_.prepare(std::span<const std::uint8_t, kPointsPerWaveform>(data, kPointsPerWaveform));
    decimator_.buildOctaveSet(
        phase, step, std::span<std::uint8_t, kOctaveSetLength>(transfer_.data(), kOctaveSetLength));
    registers_.transport().blockWrite(transfer_.data(), kOctaveSetLength);
    registers_.writeEndAddress(kPointsPerWaveform - 1);
    frequency_.applyPlayedLength(state.currentOctave);
}

void WaveformUpload::loadRaw(const std::uint8_t* data, std::int32_t length, int channel) {
    DriverState& state = registers_.state();
    state.currentOctave = 0;
    std::memcpy(transfer_.data(), data, static_cast<std::size_t>(length));
    registers_.transport().blockWrite(transfer_.data(), length);
    state.octaveMode[channel] = 0;
    registers_.writeEndAddress(static_cast<std::uint32_t>(length - 1));
}

void WaveformUpload::finishLoad(int channel) {
    DriverState& state = registers_.state();
    registers_.selectRegister(kRunControl);
    registers_.writeDataByte(kLoadEnd);
    registers_.writeDataByte(kLoadDone);

    registers_.selectRegister(kChannelControl);
    state.shadow[kChannelControl] =
        static_cast<std::uint8_t>(savedControl_ | 0x03 | (1u << (channel + 2)));
    registers_.writeDataByte(state.shadow[kChannelControl]);

    registers_.refreshRegister(kClockDivider);

    registers_.selectRegister(kEndAddressTop);
    state.shadow[kEndAddressTop] =
        static_cast<std::uint8_t>((savedEndTop_ & 0xFC) | (state.shadow[kEndAddressTop] & 0x03));
    registers_.setShadowBit(kEndAddressTop, kOctaveModeBit, state.octaveModeForBoth() ? 1 : 0);
    registers_.writeDataByte(state.shadow[kEndAddressTop]);

    registers_.selectRegister(kTrigger);
    state.shadow[kTrigger] = savedTrigger_;
    registers_.writeDataByte(state.shadow[kTrigger]);

    Transport::sleep(2);
    registers_.selectRegister(kRunControl);
    registers_.writeDataByte(state.runBits | 0x40);
}

}  // namespace q745drv
