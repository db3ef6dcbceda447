#pragma once

#include <array>
#include <filesystem>

#include "core/SettingsTarget.h"
#include "core/SettingsValues.h"

class AppState;
class ChannelPanelLink;
class TFreqScreen;
class TMainForm;
class TTrgScreen;
class TVirtualGenerator;
class UserMessages;
class WaveDisplayLink;
struct WaveformStore;

// The settings on the live objects: gathers what the writer writes from the generator model,
// the main window's controls, the panels' state and the application state, and applies each
// line the reader understands the way the operator would: the main window's controls are put
// into the stored state and their usual handling runs.
//
// Where a panel that handles a control is not there (the channel panels, waveform display B),
// the value goes to the generator model directly, so that nothing read is lost.
class SettingsBinding final : public SettingsTarget {
public:
    struct Objects {
        AppState& state;
        TMainForm& mainForm;
        // Not there yet in the communication pass, which reads only the application state.
        TVirtualGenerator* generator;
        const WaveformStore& store;
        // analog, digital, import
        std::array<TFreqScreen*, 3> frequencyPanels;
        TTrgScreen& trigger;
        std::array<ChannelPanelLink*, 2> channelPanels{};
        WaveDisplayLink* waveDisplayB = nullptr;
    };

    explicit SettingsBinding(Objects objects);

    void setGenerator(TVirtualGenerator& generator) { o_.generator = &generator; }
    void setWaveDisplayB(WaveDisplayLink* display) { o_.waveDisplayB = display; }
    void setChannelPanels(ChannelPanelLink* panelA, ChannelPanelLink* panelB) {
        o_.channelPanels = {panelA, panelB};
    }

    SettingsValues gather() const;

    // "Settings.dat" and the profiles; false after the message box.
    bool write(const std::filesystem::path& fileName, UserMessages& messages) const;
    bool read(const std::filesystem::path& fileName, bool communicationPass,
              UserMessages& messages);

    void setBaseAddress(std::int32_t index) override;
    void setPortAddress(std::int32_t address) override;
    void setUsb(bool on) override;
    void setUseProxy(bool on) override;
    void setProxyAddress(const std::string& address) override;
    void setProxyPort(std::int32_t port) override;
    void setRealShift(int channel, std::int32_t code) override;
    void setShiftMode(int channel, bool continuous) override;
    void setShift(int channel, std::int32_t code) override;
    void setLevel(int channel, std::int32_t code) override;
    void setExternalLevel(int channel, bool on) override;
    void setOutput(int channel, std::int32_t state) override;
    void setLoad(int channel, std::int32_t ohms) override;
    void setRelativeDbMode(int channel, bool autoDb) override;
    void setRelativeDbNull(int channel, double millivolts) override;
    void setAbsoluteDbUnit(int channel, std::int32_t item) override;
    void setIndicator(int channel, Indicator indicator, bool down) override;
    void setVpMode(int channel, bool plus) override;
    void setFilterItem(int channel, std::int32_t item) override;
    bool waveSlotFilled(int slot) const override;
    void setWave(int channel, int slot) override;
    void setChannelBPhase(std::int32_t phase) override;
    void setFrequency(int mode, double frequency) override;
    void setFrequencyMoveMode(int mode, bool continuous) override;
    void setRealFrequency(int mode, double frequency) override;
    void setChannelBMultiplication(std::int32_t multiplier) override;
    void setTriggerSwitch(TriggerSwitch which, bool on) override;
    void setDigitalVoltage(std::int32_t item) override;
    void setImportLevel(int channel, std::int32_t code) override;
    void setImportOutput(int channel, std::int32_t state) override;
    void setLevelLock(bool down) override;
    void setForceDigitalOutputs(bool on) override;
    void setCountVRmsFromAC(bool on) override;
    void setAutoFilter(bool on) override;
    void setStartMode(int mode) override;

private:
    bool channelPanelPresent(int channel) const;
    TVirtualGenerator& generator() const;
    TFreqScreen* frequencyPanel(int mode) const;

    Objects o_;
};
