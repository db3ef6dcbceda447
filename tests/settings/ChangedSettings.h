#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/SettingsValues.h"

// The whole content of a text file (empty when it cannot be read).
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The values of the golden file ChangedSettings.dat: every value away from its default.
inline SettingsValues changedSettingsValues() {
    SettingsValues v;
    v.baseAddress = 3;
    v.portAddress = 0x2F8;
    v.usb = true;
    v.useProxy = true;
    v.proxyAddress = "proxy.example.net";
    v.proxyPort = 8080;
    ChannelSettings& a = v.channels[0];
    a.realShift = 1000;
    a.shiftMode = 0;
    a.shift = 1100;
    a.level = 4000;
    a.externalLevel = 1;
    a.output = 2;
    a.load = 50;
    a.relativeDbMode = 0;
    a.relativeDbNull = 1234.5;
    a.absoluteDbUnit = 3;
    a.vpp = false;
    a.vp = true;
    a.vpMode = 0;
    a.vrms = true;
    a.vavg = true;
    a.filter = 0;
    a.wave = 7;
    ChannelSettings& b = v.channels[1];
    b.realShift = 4096;  // "Con": the device has the program's shift
    b.shiftMode = 1;
    b.shift = 4096;
    b.level = 0;
    b.externalLevel = 0;
    b.output = 0;
    b.load = 600;
    b.relativeDbMode = 1;
    b.relativeDbNull = 1.25e-6;
    b.absoluteDbUnit = 1;
    b.vpp = true;
    b.vp = false;
    b.vpMode = 1;
    b.vrms = false;
    b.vavg = false;
    b.filter = 1;
    b.wave = 31;
    v.channelBPhase = -4096;  // a quarter period: the display keeps it as it is
    v.analogFrequency = {0.1, 0, static_cast<double>(0.1f)};
    v.channelBMultiplication = 99;
    v.trigger = true;
    v.triggerEdge = 0;
    v.whileTriggerOff = 0;
    v.synchroPulsesOut = true;
    v.triggerMode = 1;
    v.digitalFrequency = {50000000, 1, 1525.878906};
    v.digitalVoltage = 1;
    v.importFrequency = {12345.6789, 0, 1e15};
    v.importLevelA = 100;
    v.importLevelB = 4096;
    v.importOutputA = 0;
    v.importOutputB = 2;
    v.levelLock = true;
    v.forceDigitalOutputs = true;
    v.countVRmsFromAC = true;
    v.autoFilter = true;
    v.interfaceMode = ModeImport;
    return v;
}
