#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "device/GeneratorConversions.h"

class CurrentModeSource;
class FilterChoice;
class TDigitalWave;
class UserMessages;
class VirtualDriver;
class WaveformRecord;

// The complete setting of the instrument. Panels change the instrument only through its
// setters: each stores the value for the mode it concerns, forwards it to the driver binding
// and fires the change events so that the views redraw. Unless a setter says otherwise it does
// nothing when the value equals the stored one once the model is active.
// Channels: 0 = A, 1 = B. Codes and units as in GeneratorConversions.h.
class TVirtualGenerator {
public:
    // The model's events; each is fired only when assigned, with the model as sender.
    using Event = std::function<void(TVirtualGenerator& sender)>;
    using ChannelEvent = std::function<void(TVirtualGenerator& sender, int channel)>;
    using ZeroLineEvent = std::function<void(TVirtualGenerator& sender, int channel, int value)>;

    // Opens the instrument (InitDevice, with its dialogs) and leaves the model suspended: no
    // setter reaches the instrument until Activate, so that the saved settings can be loaded.
    TVirtualGenerator(VirtualDriver& driver, const CurrentModeSource& mode, UserMessages& messages);
    TVirtualGenerator(const TVirtualGenerator&) = delete;
    TVirtualGenerator& operator=(const TVirtualGenerator&) = delete;

    // The filter boxes that the automatic filter choice sets; without them it sets the filter
    // directly.
    void setFilterChoice(FilterChoice* boxes) { filterChoice_ = boxes; }

    Event OnChange;
    ChannelEvent OnWave;
    ZeroLineEvent OnZeroLine;
    Event OnFrequency;
    ChannelEvent OnChannel;
    Event OnTickFrequency;
    Event OnImportTickFrequency;

    // ---- setters ----
    // The frequency of the current mode: analog (Hz, octave mode) or the tick frequency.
    void ChangeFrequency(double f);
    // The analog-mode frequency whatever the current mode (the analog frequency panel's).
    void ChangeAnalogFrequency(double f);
    void ChangeDigitalTickFrequency(double f);
    void ChangeImportTickFrequency(double f);
    // Channel-B multiplier 1..99; the channel-B reload is deferred while it keeps changing.
    void ChangeMultiplier(std::int32_t m);
    // Channel-B phase in points of the 16384-point period.
    void ChangePhase(std::int32_t p);
    // The channel's waveform of the current mode (analog, or import otherwise); always sent.
    // The record is referred to, not copied: it must outlive its use by the model.
    void ChangeWave(int channel, const WaveformRecord& record);
    // The digital pattern; always sent, and in digital mode the tick frequency after it (a raw
    // upload changes what the instrument makes of a frequency). Referred to, not copied.
    void ChangeDigitalSequence(const TDigitalWave& sequence);
    void ChangeLevel(int channel, std::int32_t code);
    void ChangeShift(int channel, std::int32_t code);
    // Ohms, -1 open. Only the conversions use it; nothing is sent.
    void ChangeLoad(int channel, std::int32_t ohms);
    // 0 off, 1 normal, 2 -20 dB; always sent.
    void ChangeOutputState(int channel, std::int32_t state);
    void ChangeFilter(int channel, std::int32_t filter);
    void ChangeExternalLevel(int channel, std::int32_t v);
    void ChangeDigitalOutputs(std::int32_t v);
    void ChangeTriggerEdge(std::int32_t v);
    void ChangeTriggerMode(std::int32_t v);
    void ChangeTriggerStyle(std::int32_t v);
    // Always sent.
    void ChangeRun(bool run);
    void Restart();
    void ChangeDigitalVoltage(std::int32_t v);
    void ChangeAutoFilter(bool on);

    // Sends the whole setting of the current mode; with keepWaves the waveforms are not
    // uploaded again.
    void ApplyMode(bool keepWaves);
    // From now on the setters reach the instrument.
    void Activate();
    // Chooses the output filters from the waveforms' harmonics and the frequency.
    void AutoFilter();

    // ---- reading ----
    // The frequency of the current mode; -1 outside the three modes.
    double ModeFrequency() const;
    // The operating mode whose settings the setters file (ModeAnalog, ...).
    int currentMode() const;
    // The channel's waveform of the current mode; null until one was given.
    const WaveformRecord* Wave(int channel) const;

    double frequency() const { return frequency_; }
    std::int32_t multiplier() const { return multiplier_; }
    std::int32_t sampleStep() const { return sampleStep_; }
    double digitalTickFrequency() const { return digitalTickFrequency_; }
    double importTickFrequency() const { return importTickFrequency_; }
    std::int32_t phaseB() const { return phaseB_; }
    std::int32_t load(int channel) const { return channels_[side(channel)].load; }
    std::int32_t level(int channel) const { return channels_[side(channel)].level; }
    std::int32_t shift(int channel) const { return channels_[side(channel)].shift; }
    std::int32_t outputState(int channel) const { return channels_[side(channel)].outputState; }
    std::int32_t filter(int channel) const { return channels_[side(channel)].filter; }
    std::int32_t externalLevel(int channel) const { return channels_[side(channel)].externalLevel; }
    const TDigitalWave* digitalSequence() const { return digitalSequence_; }
    std::int32_t triggerMode() const { return triggerMode_; }
    std::int32_t triggerEdge() const { return triggerEdge_; }
    std::int32_t triggerStyle() const { return triggerStyle_; }
    std::int32_t digitalOutputs() const { return digitalOutputs_; }
    bool autoFilter() const { return autoFilter_; }
    bool active() const { return active_; }
    // ReadOscillator() / 16384: the highest frequency of octave 0.
    double oscillatorPer16384() const { return oscillatorPer16384_; }
    VirtualDriver& driver() { return driver_; }

    // Suppresses OnZeroLine (a channel panel moving level and shift together).
    bool noZeroLineEvent = false;

    // ---- conversions for the channel's present load, output path, level and shift ----
    double LoadFactor(int channel) const;
    double OffsetVolts(int channel, std::int32_t code) const;
    double LevelVolts(int channel, std::int32_t code) const;
    std::int32_t ShiftCodeFromVolts(int channel, double millivolts) const;
    std::int32_t LevelCodeFromVolts(int channel, double millivolts) const;
    double SampleVolts(int channel, double sample) const;
    std::int32_t ZeroLine(int channel) const;

private:
    struct Channel {
        std::int32_t load = generator::OpenLoad;
        std::int32_t level = 0;
        std::int32_t shift = 0;
        std::int32_t outputState = 0;
        std::int32_t filter = 0;
        std::int32_t externalLevel = 0;
        const WaveformRecord* wave = nullptr;        // analog mode
        const WaveformRecord* importWave = nullptr;  // import mode
    };

    static std::size_t side(int channel) { return channel == 0 ? 0 : 1; }
    generator::OutputPath path(int channel) const;
    // Unchanged values are not passed on once the model is active.
    template <class T>
    bool unchanged(const T& stored, const T& value) const {
        return active_ && stored == value;
    }
    void fire(const Event& event) {
        if (event) event(*this);
    }
    void fire(const ChannelEvent& event, int channel) {
        if (event) event(*this, channel);
    }
    void zeroLineMoved(int channel);
    void sendWave(int channel, const WaveformRecord* record, std::int32_t phase);
    void sendChannelSettings();

    VirtualDriver& driver_;
    const CurrentModeSource& mode_;
    FilterChoice* filterChoice_ = nullptr;

    bool active_ = false;
    double frequency_ = 0;
    std::int32_t multiplier_ = 0;
    std::int32_t sampleStep_ = 0;
    std::array<Channel, 2> channels_{};
    double digitalTickFrequency_ = 4000;
    double importTickFrequency_ = 0;
    const TDigitalWave* digitalSequence_ = nullptr;
    std::int32_t triggerMode_ = -100;
    std::int32_t triggerEdge_ = -100;
    std::int32_t triggerStyle_ = -100;
    std::int32_t phaseB_ = 0;
    std::int32_t digitalOutputs_ = 0;
    bool autoFilter_ = false;
    double oscillatorPer16384_ = 0;
};
