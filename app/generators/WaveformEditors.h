#pragma once

#include <functional>
#include <optional>

#include "waves/WaveformRecord.h"

class QWidget;

// The editors that the waveform gallery opens on its selected slot, one entry per kind. An
// entry that is empty is an editor this program does not have: its button stays disabled.
//
// To add an editor, fill its entry in programWaveformEditors() (WaveformEditors.cpp) with a
// function that shows its dialog modally and returns the waveform made.

// What an editor may show besides the waveform: the channel for which the gallery was opened,
// as it plays now.
struct EditorContext {
    QWidget* owner = nullptr;    // the gallery, parent of the editor's dialog
    int channel = 0;             // 0 A, 1 B
    double frequency = 0;        // the channel's output frequency, Hz (channel B's multiplied)
    int sampleStep = 1;          // generated points per waveform point (channel B's multiplied)
    double levelMillivolts = 0;  // the channel's full-scale level
    int zeroMark = 128;          // the sample value that is 0 V at the channel's shift
    // The channel's output voltage (mV) at a sample value.
    std::function<double(double sample)> sampleMillivolts;
};

struct WaveformEditors {
    // Opens the editor on a copy of `source`; the waveform made on "Ok", nothing when the
    // operator cancelled (or the editor produced no waveform). The gallery stores it in the slot
    // and computes its statistics.
    using Editor = std::function<std::optional<WaveformRecord>(const WaveformRecord& source,
                                                               const EditorContext& context)>;
    // An options dialog changes the record in place; true when it did.
    using Options = std::function<bool(WaveformRecord& record, const EditorContext& context)>;

    Editor formula;          // "Math edit"
    Editor hand;             // "Hand edit"
    Editor harmonic;         // "Harmonics edit"
    Editor modulation;       // "Amplitude modulation"
    Editor noise;            // "Add noise"
    Options square;          // "Options" of a waveform whose optionsKind is 1
    Options formulaOptions;  // "Options" of a waveform whose optionsKind is 2
};

// Every editor of the program.
WaveformEditors programWaveformEditors();
