#pragma once

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/SettingsTarget.h"
#include "core/SettingsValues.h"

// Applies the reader's calls to plain values, as the live objects would hold them, and notes
// every call so that a test can tell what a line did.
class ValuesTarget final : public SettingsTarget {
public:
    SettingsValues values;
    std::set<int> emptySlots;
    std::vector<std::string> calls;
    // Throws on this call number (1 = the first), to stand for a failure while applying.
    int failOnCall = 0;

    void setBaseAddress(std::int32_t index) override {
        note("baseAddress");
        values.baseAddress = index;
    }
    void setPortAddress(std::int32_t address) override {
        note("portAddress");
        values.portAddress = address;
    }
    void setUsb(bool on) override {
        note("usb");
        values.usb = on;
    }
    void setUseProxy(bool on) override {
        note("useProxy");
        values.useProxy = on;
    }
    void setProxyAddress(const std::string& address) override {
        note("proxyAddress");
        values.proxyAddress = address;
    }
    void setProxyPort(std::int32_t port) override {
        note("proxyPort");
        values.proxyPort = port;
    }
    void setRealShift(int c, std::int32_t code) override {
        note("realShift", c);
        values.channels[c].realShift = code;
    }
    void setShiftMode(int c, bool continuous) override {
        note("shiftMode", c);
        values.channels[c].shiftMode = continuous ? 1 : 0;
    }
    void setShift(int c, std::int32_t code) override {
        note("shift", c);
        values.channels[c].shift = code;
    }
    void setLevel(int c, std::int32_t code) override {
        note("level", c);
        values.channels[c].level = code;
    }
    void setExternalLevel(int c, bool on) override {
        note("externalLevel", c);
        values.channels[c].externalLevel = on ? 1 : 0;
    }
    void setOutput(int c, std::int32_t state) override {
        note("output", c);
        values.channels[c].output = state;
    }
    void setLoad(int c, std::int32_t ohms) override {
        note("load", c);
        values.channels[c].load = ohms;
    }
    void setRelativeDbMode(int c, bool autoDb) override {
        note("relativeDbMode", c);
        values.channels[c].relativeDbMode = autoDb ? 1 : 0;
    }
    void setRelativeDbNull(int c, double millivolts) override {
        note("relativeDbNull", c);
        values.channels[c].relativeDbNull = millivolts;
    }
    void setAbsoluteDbUnit(int c, std::int32_t item) override {
        note("absoluteDbUnit", c);
        values.channels[c].absoluteDbUnit = item;
    }
    void setIndicator(int c, Indicator indicator, bool down) override {
        note("indicator", c);
        ChannelSettings& ch = values.channels[c];
        switch (indicator) {
            case Indicator::Vpp:
                ch.vpp = down;
                break;
            case Indicator::Vp:
                ch.vp = down;
                break;
            case Indicator::VRms:
                ch.vrms = down;
                break;
            case Indicator::VAvg:
                ch.vavg = down;
                break;
        }
    }
    void setVpMode(int c, bool plus) override {
        note("vpMode", c);
        values.channels[c].vpMode = plus ? 1 : 0;
    }
    void setFilterItem(int c, std::int32_t item) override {
        note("filterItem", c);
        values.channels[c].filter = item;
    }
    bool waveSlotFilled(int slot) const override { return !emptySlots.contains(slot); }
    void setWave(int c, int slot) override {
        note("wave", c);
        values.channels[c].wave = slot;
    }
    void setChannelBPhase(std::int32_t phase) override {
        note("phase");
        values.channelBPhase = phase;
    }
    void setFrequency(int mode, double frequency) override {
        note("frequency", mode);
        frequencyOf(mode).frequency = frequency;
    }
    void setFrequencyMoveMode(int mode, bool continuous) override {
        note("moveMode", mode);
        frequencyOf(mode).moveMode = continuous ? 1 : 0;
    }
    void setRealFrequency(int mode, double frequency) override {
        note("realFrequency", mode);
        frequencyOf(mode).realFrequency = frequency;
    }
    void setChannelBMultiplication(std::int32_t multiplier) override {
        note("multiplier");
        values.channelBMultiplication = multiplier;
    }
    void setTriggerSwitch(TriggerSwitch which, bool on) override {
        note("trigger");
        switch (which) {
            case TriggerSwitch::Trigger:
                values.trigger = on;
                break;
            case TriggerSwitch::LeadingEdge:
                values.triggerEdge = on ? 1 : 0;
                break;
            case TriggerSwitch::RunWhileTriggerOff:
                values.whileTriggerOff = on ? 1 : 0;
                break;
            case TriggerSwitch::SyncOut:
                values.synchroPulsesOut = on;
                break;
            case TriggerSwitch::Single:
                values.triggerMode = on ? 1 : 0;
                break;
        }
    }
    void setDigitalVoltage(std::int32_t item) override {
        note("voltage");
        values.digitalVoltage = item;
    }
    void setImportLevel(int c, std::int32_t code) override {
        note("importLevel", c);
        (c == 0 ? values.importLevelA : values.importLevelB) = code;
    }
    void setImportOutput(int c, std::int32_t state) override {
        note("importOutput", c);
        (c == 0 ? values.importOutputA : values.importOutputB) = state;
    }
    void setLevelLock(bool down) override {
        note("levelLock");
        values.levelLock = down;
    }
    void setForceDigitalOutputs(bool on) override {
        note("forceDigitalOutputs");
        values.forceDigitalOutputs = on;
    }
    void setCountVRmsFromAC(bool on) override {
        note("countVRmsFromAC");
        values.countVRmsFromAC = on;
    }
    void setAutoFilter(bool on) override {
        note("autoFilter");
        values.autoFilter = on;
    }
    void setStartMode(int mode) override {
        note("startMode");
        values.interfaceMode = mode;
    }

private:
    void note(const std::string& name, int index = -1) {
        calls.push_back(index < 0 ? name : name + "(" + std::to_string(index) + ")");
        if (failOnCall != 0 && static_cast<int>(calls.size()) == failOnCall)
            throw std::runtime_error("cannot apply");
    }
    FrequencySettings& frequencyOf(int mode) {
        if (mode == ModeAnalog) return values.analogFrequency;
        if (mode == ModeDigital) return values.digitalFrequency;
        if (mode == ModeImport) return values.importFrequency;
        throw std::logic_error("frequency outside the three modes");
    }
};
