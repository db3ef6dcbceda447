#pragma once

#include <string>
#include <vector>

#include "waves/WaveformRecord.h"

// The data view's content for one channel: what the parameters of the editor that made the
// channel's waveform mean at the channel's present level and the present output frequency
// (the marked harmonics of a harmonic composition, the carrier of an amplitude modulation, the
// level of added noise). Voltages are RMS for harmonics and use the unit forms of the
// read-outs.

inline constexpr int kDataViewHarmonicRows = 7;

struct DataViewChannelInput {
    const WaveformRecord* record = nullptr;  // the channel's waveform; none counts as no data
    double levelMillivolts = 0;              // the channel's full-scale level
    double frequency = 0;                    // the device frequency, Hz
    int sampleStep = 1;                      // generated points per waveform point
    int multiplier = 1;                      // channel B's frequency multiplier; 1 for A
};

enum class DataViewKind { None, Harmonics, Modulation, Noise };

// One row of the harmonics table. red: the harmonic lies beyond what the generator can
// reproduce at the present step.
struct HarmonicRow {
    std::string order;  // "3."
    std::string frequency;
    std::string voltage;
    std::string phase;  // whole degrees
    bool red = false;
};

struct ChannelDataView {
    DataViewKind kind = DataViewKind::None;
    std::vector<HarmonicRow> rows;  // the fundamental first, at most seven
    std::string modulationLevel;
    std::string carrierFrequency;
    bool carrierRed = false;
    std::string noiseLevel;
};

ChannelDataView channelDataView(const DataViewChannelInput& input);

// A component of `periods` periods per waveform is beyond what the generator reproduces when it
// plays every pointStep-th point of the waveform: a harmonic of the data view, the carrier of
// the modulation editor.
bool beyondReproduction(double pointStep, double periods);

// "No data available for channel A" (channel 0) or "... B".
std::string noDataText(int channel);
