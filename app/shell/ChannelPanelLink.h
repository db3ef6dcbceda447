#pragma once

// What the main window asks of a channel panel (level, shift, load and filter of one channel).
// The channel panel implements it.
class ChannelPanelLink {
public:
    virtual ~ChannelPanelLink() = default;

    // Reads level, shift, output and load back from the generator model into the controls.
    virtual void refreshValues() = 0;
    // Recomputes the voltage and dB read-outs.
    virtual void refreshReadouts() = 0;
    // Average and RMS taken about the waveform's mean ("VRms from AC").
    virtual void setAcRms(bool on) = 0;
    // Runs the handling of a moved shift bar.
    virtual void shiftBarChanged() = 0;
};
