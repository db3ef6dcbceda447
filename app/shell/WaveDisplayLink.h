#pragma once

#include "core/CursorReadouts.h"

class WaveformRecord;

// What the main window asks of a waveform display of its own (the analog displays A and B and
// the two import displays). The waveform display panel implements it.
class WaveDisplayLink {
public:
    virtual ~WaveDisplayLink() = default;

    // The measurement cursors and the zero line.
    virtual CursorPositions cursors() const = 0;
    // Takes the sample value at which the output crosses 0 V, and redraws.
    virtual void setZeroMark(int value) = 0;
    // Shows the record from its start (zoom and pan reset) and redraws.
    virtual void showRecord(const WaveformRecord& record) = 0;
    virtual void redraw() = 0;

    // Channel-B phase in points of the period.
    virtual int phase() const = 0;
    virtual void setPhase(int points) = 0;
    // While on, dragging waveform B moves it against waveform A.
    virtual void setPhaseGrab(bool on) = 0;

    // The measurement cursors drawn while the operator changes values.
    virtual void showCursors() = 0;
    virtual void hideCursors() = 0;
    // The pointer has left the display's picture.
    virtual void pointerLeft() = 0;
    // While busy (a modal window works with the waveforms) the display ignores the mouse.
    virtual void setBusy(bool busy) = 0;
};
