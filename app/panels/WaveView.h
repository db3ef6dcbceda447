#pragma once

#include <cstdint>
#include <string>

// The visible window of a waveform display and its mapping between pixels and the record:
// x pixel columns 0..lastX against point indices, y pixel rows 0..lastY (top) against sample
// values. Every mapping result is truncated to an integer.
struct WaveView {
    int lastX = 0;  // image width - 1
    int lastY = 0;  // image height - 1
    int firstIndex = 0;
    int lastIndex = 0;
    int minIndex = 0;
    int maxIndex = 0;
    int bottomValue = 1;
    int topValue = 255;
    int minValue = 1;
    int maxValue = 255;

    int xSpan() const { return lastIndex - firstIndex; }
    int ySpan() const { return topValue - bottomValue; }

    int indexToX(int index) const;
    int valueToY(int value) const;
    int xToIndex(int x) const;
    int yToValue(int y) const;

    // The view shows the whole record.
    bool whole() const { return firstIndex == minIndex && lastIndex == maxIndex; }
    // Fewer points than pixel columns are visible.
    bool overZoomed() const { return xSpan() < lastX; }
    // The record has more points than the display has pixel columns.
    bool recordWiderThanImage() const { return maxIndex - minIndex > lastX; }
};

// A new image size and record length; the view is kept where it fits.
void resizeView(WaveView& view, int lastX, int lastY, int maxIndex);

// The value range 1..255, widened to a zero mark below 0 or above 255; the whole range shown.
void setValueRange(WaveView& view, int zeroMark);

// "Zoom 1:1": the whole record.
void zoomFull(WaveView& view);
// "Zoom out": half the visible span more on each side, within the record.
void zoomOut(WaveView& view);
// "Zoom in" with a dragged range of points: taken when more points than pixels are visible,
// widened to at least lastX + 1 points ending at the range's end. False when nothing changed.
bool zoomToRange(WaveView& view, int from, int to);
// "Zoom max": one point per pixel centred on the index (only for a record wider than the
// image). False when nothing changed.
bool zoomMax(WaveView& view, int index);
// "Over zoom": lastX / 32 points from lastX / 64 before the index.
void overZoom(WaveView& view, int index);
// Keeps the span and moves the window to start at firstIndex, within the record.
void placeView(WaveView& view, int firstIndex);
// Keeps the span and centres the window on the index, within the record.
void centreView(WaveView& view, int index);
// Dragging: the index and value remembered at the press stay under the pointer at (x, y);
// both spans are kept and the view stays within the record and the value range.
void panView(WaveView& view, int indexAtPress, int valueAtPress, int x, int y);

// The label of a zoomed view: "Over zoomed", or "Zoom 1:" and the points per pixel with one
// decimal; empty when the whole record is shown.
std::string zoomLabel(const WaveView& view);
