#pragma once

#include <cstdint>
#include <string>

// What the settings reader does with each line it understands. The reader decides which key
// a line is, whether its value is acceptable and what it means; the target puts the value
// into the live objects (the application: the main window's controls with their usual
// handling, the panels, the generator model and the application state).
// Channels: 0 = A, 1 = B. Modes: ModeAnalog, ModeDigital, ModeImport.
class SettingsTarget {
public:
    enum class Indicator { Vpp, Vp, VRms, VAvg };
    enum class TriggerSwitch { Trigger, LeadingEdge, RunWhileTriggerOff, SyncOut, Single };

    virtual ~SettingsTarget() = default;

    // The communication pass.
    virtual void setBaseAddress(std::int32_t index) = 0;    // 0..15
    virtual void setPortAddress(std::int32_t address) = 0;  // 0x378, 0x278, 0x3F8 or 0x2F8
    virtual void setUsb(bool on) = 0;

    // The full pass.
    virtual void setUseProxy(bool on) = 0;
    virtual void setProxyAddress(const std::string& address) = 0;
    virtual void setProxyPort(std::int32_t port) = 0;  // > 0

    virtual void setRealShift(int channel, std::int32_t code) = 0;
    virtual void setShiftMode(int channel, bool continuous) = 0;
    virtual void setShift(int channel, std::int32_t code) = 0;
    virtual void setLevel(int channel, std::int32_t code) = 0;
    virtual void setExternalLevel(int channel, bool on) = 0;
    virtual void setOutput(int channel, std::int32_t state) = 0;  // 0 off, 1 normal, 2 -20 dB
    virtual void setLoad(int channel, std::int32_t ohms) = 0;     // -1 open, else >= 1
    virtual void setRelativeDbMode(int channel, bool autoDb) = 0;
    virtual void setRelativeDbNull(int channel, double millivolts) = 0;
    virtual void setAbsoluteDbUnit(int channel, std::int32_t item) = 0;  // 0..3
    virtual void setIndicator(int channel, Indicator indicator, bool down) = 0;
    virtual void setVpMode(int channel, bool plus) = 0;
    virtual void setFilterItem(int channel, std::int32_t item) = 0;  // 0 "Low", 1 "High", 2 "Off"
    virtual bool waveSlotFilled(int slot) const = 0;
    virtual void setWave(int channel, int slot) = 0;  // a filled slot 0..31
    virtual void setChannelBPhase(std::int32_t phase) = 0;

    virtual void setFrequency(int mode, double frequency) = 0;
    virtual void setFrequencyMoveMode(int mode, bool continuous) = 0;
    virtual void setRealFrequency(int mode, double frequency) = 0;
    virtual void setChannelBMultiplication(std::int32_t multiplier) = 0;  // 1..99

    virtual void setTriggerSwitch(TriggerSwitch which, bool on) = 0;
    virtual void setDigitalVoltage(std::int32_t item) = 0;  // 0 "3.3V", 1 "5V"

    virtual void setImportLevel(int channel, std::int32_t code) = 0;
    virtual void setImportOutput(int channel, std::int32_t state) = 0;
    virtual void setLevelLock(bool down) = 0;

    virtual void setForceDigitalOutputs(bool on) = 0;
    virtual void setCountVRmsFromAC(bool on) = 0;
    virtual void setAutoFilter(bool on) = 0;
    virtual void setStartMode(int mode) = 0;  // ModeAnalog, ModeDigital or ModeImport
};
