#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/OperatingMode.h"

// Every value the settings file holds, as plain data: what the writer writes and what a
// fresh installation ships. The application gathers it from the live objects before writing.
// The defaults are those of the shipped "Settings.dat".

// One analog channel.
struct ChannelSettings {
    std::int32_t realShift = 2048;  // shift code in the device
    std::int32_t shiftMode = 1;     // 1 continuous ("Con"), 0 step
    std::int32_t shift = 2048;      // shift code in the program
    std::int32_t level = 2048;
    std::int32_t externalLevel = 0;
    std::int32_t output = 1;          // 0 off, 1 normal, 2 -20 dB
    std::int32_t load = -1;           // ohms, -1 open
    std::int32_t relativeDbMode = 1;  // 1 "Auto dB", 0 "Man dB"
    double relativeDbNull = 8400;     // mV peak-to-peak that reads as 0 dB
    std::int32_t absoluteDbUnit = 0;  // item of the level units box
    bool vpp = true;
    bool vp = true;
    std::int32_t vpMode = 1;  // 1 plus, 0 minus
    bool vrms = false;
    bool vavg = false;
    std::int32_t filter = 2;  // 0 low, 1 high, 2 off
    std::int32_t wave = 0;    // slot of the waveform store
};

// The frequency of one mode's frequency panel.
struct FrequencySettings {
    double frequency = 589824;      // in the program
    std::int32_t moveMode = 1;      // 1 continuous ("Con"), 0 step
    double realFrequency = 589824;  // in the device
};

struct SettingsValues {
    // Communication
    std::int32_t baseAddress = 0;
    std::int32_t portAddress = 0x378;
    bool usb = false;
    // Auto update
    bool useProxy = false;
    std::string proxyAddress;
    std::int32_t proxyPort = 0;
    // Analog mode
    std::array<ChannelSettings, 2> channels{};
    std::int32_t channelBPhase = 0;
    FrequencySettings analogFrequency;
    std::int32_t channelBMultiplication = 1;
    bool trigger = false;
    std::int32_t triggerEdge = 1;      // 1 leading, 0 trailing
    std::int32_t whileTriggerOff = 1;  // 1 go, 0 stop
    bool synchroPulsesOut = false;
    std::int32_t triggerMode = 0;  // 1 single, 0 period
    // Digital mode
    FrequencySettings digitalFrequency;
    std::int32_t digitalVoltage = 0;  // 0 3.3 V, 1 5 V
    // Import from scope mode
    FrequencySettings importFrequency;
    std::int32_t importLevelA = 2048;
    std::int32_t importLevelB = 2048;
    std::int32_t importOutputA = 1;
    std::int32_t importOutputB = 1;
    bool levelLock = false;
    // Settings
    bool forceDigitalOutputs = false;
    bool countVRmsFromAC = false;
    bool autoFilter = false;
    std::int32_t interfaceMode = ModeAnalog;
};
