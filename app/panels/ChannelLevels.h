#pragma once

#include <cstdint>
#include <span>
#include <string>

// The level model of a channel panel: which output path reaches a wanted level, the codes that
// keep the output voltages when the load changes, and the read-outs (peak-to-peak, peak,
// average, RMS, absolute and relative dB). Millivolts unless a name says volts; level codes
// give the full-scale level, the peak-to-peak voltage of a waveform using all 254 steps.

inline constexpr std::int32_t kLowestCode = 0;
inline constexpr std::int32_t kHighestCode = 4096;

std::int32_t clampCode(std::int32_t code);

// The output path for a wanted full-scale level: below 1.6 V at the terminals (1600 mV times the
// load factor) the -20 dB attenuator (output state 2) is switched in and the level asked of the
// normal path becomes ten times the wanted one; otherwise 0 dB (output state 1).
struct AttenuatorChoice {
    std::int32_t outputState = 1;
    double pathMillivolts = 0;  // what the level code has to give before the attenuator
};
AttenuatorChoice chooseAttenuator(double wantedMillivolts, double loadFactor);

// The codes that give a full-scale level and a shift at the terminals into a load (ohms, -1
// open): the output path chosen for the level, level and shift codes held within 0..4096.
struct ChannelCodes {
    std::int32_t outputState = 1;
    std::int32_t levelCode = 0;
    std::int32_t shiftCode = 2048;
};
ChannelCodes codesForVoltages(double fullScaleMillivolts, double shiftMillivolts,
                              std::int32_t load);

// The full-scale level that makes a waveform of peakToPeak sample steps show `volts` peak to
// peak.
double fullScaleForVpp(double volts, std::int32_t peakToPeak);
// The full-scale level that makes the relative dB read-out show `db`.
double fullScaleForDb(double db, double referenceMillivolts, std::int32_t peakToPeak);

// The peak-to-peak level of the waveform itself (what 0 dB refers to).
double waveformMillivolts(double fullScaleMillivolts, std::int32_t peakToPeak);
// 20 log10 of the waveform's level against the reference, with one decimal; "N/A" for a flat
// waveform or a reference that is not a level.
std::string relativeDbText(double fullScaleMillivolts, std::int32_t peakToPeak,
                           double referenceMillivolts);

// Units of the absolute level: "dBW", "dBmW", "dBmV", "dBuV".
enum class LevelUnit { dBW = 0, dBmW = 1, dBmV = 2, dBuV = 3 };
// The absolute level of an RMS voltage (volts) in whole dB; the power units need a load
// (ohms, -1 open). "N/A" where there is no level to show.
std::string absoluteLevelText(double rmsVolts, LevelUnit unit, std::int32_t load);

// What the read-outs are computed from.
struct ChannelReadoutInput {
    std::span<const std::uint8_t> points;
    std::int32_t maxSample = 0;
    std::int32_t minSample = 0;
    double meanSample = 128;
    // Full-scale level of the panel's level code on the present path.
    double fullScaleMillivolts = 0;
    // The output voltage of sample s with the codes last sent:
    // millivoltsPerStep * (s - 128) + shiftMillivolts.
    double millivoltsPerStep = 0;
    double shiftMillivolts = 0;
    bool attenuated = false;  // output at -20 dB
    bool plusPeak = true;     // Vp from zero to the maximum; else from the minimum
    bool acRms = false;       // average and RMS about the waveform's mean
    LevelUnit unit = LevelUnit::dBW;
    std::int32_t load = -1;
};

struct ChannelReadouts {
    double vpp = 0;  // volts
    double vp = 0;
    double vavg = 0;
    double vrms = 0;
    std::string absoluteLevel;  // LevelEdit
    // The full-scale level at the normal path is below 1.6 V; a peak lies beyond +-8 V.
    bool levelWarning = false;
    bool shiftWarning = false;
};
ChannelReadouts channelReadouts(const ChannelReadoutInput& input);

// A read-out voltage as the fields show it: the SI-prefixed number and "V".
std::string voltsText(double volts);
