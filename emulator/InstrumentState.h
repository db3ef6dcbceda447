#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "LogJson.h"

namespace q745vi {

// Bus cycles and decoded operations an instrument has seen.
struct InstrumentCounters {
    std::uint64_t addressCycles = 0;  // address cycles that selected this instrument
    std::uint64_t dataWrites = 0;
    std::uint64_t dataReads = 0;
    std::uint64_t blockWrites = 0;
    std::uint64_t blockBytes = 0;
    std::uint64_t configurationLoads = 0;
    std::uint64_t calibrationReads = 0;
    std::uint64_t dacWords = 0;
    std::uint64_t switchImages = 0;
    std::uint64_t ignoredWrites = 0;  // register writes while the logic is not configured
    std::uint64_t timingViolations = 0;
    std::uint64_t protocolErrors = 0;  // malformed DAC words, missing sync bytes, overflows
};

struct ChannelState {
    bool enabled = false;    // output enable (register 8 bit 2 / 3)
    bool normalPath = true;  // false: the -20 dB attenuator
    std::string filter;      // "Low", "High", "Off" (or "Low+High" if both bits are set)
    bool externalLevel = false;
    int levelDac = 0;
    int shiftDac = 0;
    // Peak-to-peak amplitude and offset into an open output, from the DAC codes through the
    // instrument's own calibration; NaN where the calibration cannot be inverted.
    double amplitudeVolts = 0.0;
    double offsetVolts = 0.0;
    // The stretch of waveform memory played: start address and points.
    std::uint32_t playedStart = 0;
    std::uint32_t playedLength = 0;
    std::uint32_t playedChecksum = 0;  // FNV-1a of the played points
    std::vector<std::uint8_t> played;
    double signalFrequency = 0.0;  // sample clock / played length
};

// The instrument's decoded state, as an operator would describe what it does.
struct InstrumentState {
    std::string source;  // "parallel:N" or "usb:N"
    int deviceIndex = 0;
    int modelId = 0x30;
    bool configured = false;
    std::array<int, 13> registers{};
    int switchImage = 0;
    std::array<int, 4> dacCodes{};
    bool calibrationChecksumValid = true;
    double oscillatorHz = 0.0;

    int synthesiserCode = 0;
    int divider = 0;  // register 9; 0 stops the clock
    double sampleClockHz = 0.0;
    bool octaveMode = false;
    int octave = 0;
    std::uint32_t endAddress = 0;
    std::array<ChannelState, 2> channels;

    bool externalTrigger = false;
    bool syncOutput = false;
    bool trailingEdge = false;
    bool periodic = false;
    bool running = false;
    bool memoryLoading = false;

    bool digitalOutputsOn = false;
    bool digitalFiveVolts = false;
    bool digitalDriversEnabled = false;

    InstrumentCounters counters;

    // With points: each channel's played points as an array.
    LogJson toJson(bool withPoints = false) const;
};

}  // namespace q745vi
