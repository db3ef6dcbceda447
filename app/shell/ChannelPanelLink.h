#pragma once

#include <cstdint>

// What the main window and the settings ask of a channel panel (level, shift, load and filter
// of one channel). The channel panel implements it.
class ChannelPanelLink {
public:
    virtual ~ChannelPanelLink() = default;

    // Takes the channel's waveform statistics again and refreshes every value shown.
    virtual void refreshValues() = 0;
    // Recomputes the voltage and dB read-outs.
    virtual void refreshReadouts() = 0;
    // Average and RMS taken about the waveform's mean ("VRms from AC").
    virtual void setAcRms(bool on) = 0;
    // Runs the handling of a moved shift bar.
    virtual void shiftBarChanged() = 0;
    // The level in millivolts (peak-to-peak of the waveform) that reads as 0 dB.
    virtual double dbReference() const = 0;
    virtual void setDbReference(double millivolts) = 0;
    // The load in ohms (-1 open): shown and given to the generator model as it is, the level
    // and shift codes kept.
    virtual std::int32_t load() const = 0;
    virtual void setLoad(std::int32_t ohms) = 0;
};
