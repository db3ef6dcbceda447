#pragma once

#include <array>
#include <cstdint>

namespace q745drv {

// The instrument's register numbers, before the device offset is added.
enum Register : int {
    kIdentification = 0,
    kSerialSwitch = 1,  // also the communication test and the digital output drivers
    kSerialDac = 2,     // also the calibration memory
    kSynthesiserLow = 3,
    kSynthesiserHigh = 4,
    kEndAddressLow = 5,
    kEndAddressHigh = 6,
    kEndAddressTop = 7,  // bits 0-1 end address 16-17, bit 3 octave mode, bits 4-7 octave number
    kChannelControl = 8,
    kClockDivider = 9,
    kTrigger = 10,
    kMemoryData = 11,
    kRunControl = 12,
};

// The shadow slot that holds the image of the output switch register.
inline constexpr int kSwitchImage = 16;

inline constexpr std::uint8_t kModelId = 0x30;
inline constexpr std::int32_t kPointsPerWaveform = 16384;
inline constexpr std::int32_t kOctaveCount = 14;
inline constexpr std::int32_t kOctaveSetLength = kPointsPerWaveform * kOctaveCount;
inline constexpr std::int32_t kMaxRawLength = 262144;

// Calibration of the analog outputs, by set = outputPath + channel (0 A -20 dB, 1 B -20 dB,
// 2 A normal, 3 B normal). The start values are in force until a calibration read succeeds.
struct CalibrationTable {
    std::array<std::int32_t, 4> shiftLow{206, 221, 206, 221};       // DAC code for -4 V
    std::array<std::int32_t, 4> shiftHigh{3740, 3762, 3740, 3762};  // DAC code for +4 V
    std::array<std::int32_t, 2> shiftOff{1972, 1991};               // by channel, while off
    std::array<std::int32_t, 4> levelLow{108, 120, 108, 120};       // at level code 215.57
    std::array<std::int32_t, 4> levelHigh{2860, 2959, 2860, 2959};  // at level code 4096
    float oscillatorFrequency = 50000000.0f;
    float halfOscillator = 25000000.0f;
};

// The connection's instrument-side state: one per process in the library, one per test driver.
// The transport's own fields (interface, open handles, saved control byte) live in Transport.
struct DriverState {
    std::uint8_t deviceOffset = 0;  // device index x 16, added to every register number
    // 0..15: last value written to each register; kSwitchImage: the output switch register.
    std::array<std::uint8_t, 17> shadow{};
    std::uint16_t printerBase = 0x378;  // recorded only; the port driver picks the port itself

    CalibrationTable calibration;

    // Per channel (0 = A, 1 = B).
    std::array<std::uint8_t, 2> channelOn{1, 1};
    std::array<std::int32_t, 2> outputPath{2, 2};  // 2 normal, 0 the -20 dB path
    std::array<std::int32_t, 2> shiftValue{2048, 2048};
    std::array<std::int32_t, 2> levelValue{2048, 2048};

    std::array<std::uint8_t, 2> octaveMode{0, 0};  // the channel holds an octave set
    std::int32_t currentOctave = 0;                // octave chosen by the last octave-mode call
    std::uint8_t runBits = 0x80;                   // 0x80 running, 0 stopped

    bool octaveModeForBoth() const { return octaveMode[0] != 0 && octaveMode[1] != 0; }
};

// Channel arguments: 0 is A, any other value B.
inline int channelIndex(std::int32_t channel) {
    return channel == 0 ? 0 : 1;
}

}  // namespace q745drv
