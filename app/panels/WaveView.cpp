#include "panels/WaveView.h"

#include <algorithm>
#include <cmath>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

namespace {

constexpr int LowestSample = 1;
constexpr int HighestSample = 255;

int divided(long long numerator, long long denominator) {
    if (denominator == 0) return 0;
    return static_cast<int>(numerator / denominator);
}

int rounded(double value) {
    return static_cast<int>(roundHalfEven(value));
}

// Moves a window of the given span to start as near firstIndex as the record allows.
void placeWindow(WaveView& view, int firstIndex, int span) {
    const int recordSpan = view.maxIndex - view.minIndex;
    if (span >= recordSpan) {
        zoomFull(view);
        return;
    }
    firstIndex = std::clamp(firstIndex, view.minIndex, view.maxIndex - span);
    view.firstIndex = firstIndex;
    view.lastIndex = firstIndex + span;
}

}  // namespace

int WaveView::indexToX(int index) const {
    return divided(static_cast<long long>(index - firstIndex) * (lastX + 1), xSpan() + 1);
}

int WaveView::valueToY(int value) const {
    return lastY - divided(static_cast<long long>(value - bottomValue) * lastY, ySpan());
}

int WaveView::xToIndex(int x) const {
    return divided(static_cast<long long>(xSpan() + 1) * x, lastX + 1) + firstIndex;
}

int WaveView::yToValue(int y) const {
    return divided(static_cast<long long>(lastY - y) * ySpan(), lastY) + bottomValue;
}

void resizeView(WaveView& view, int lastX, int lastY, int maxIndex) {
    view.lastX = std::max(lastX, 0);
    view.lastY = std::max(lastY, 0);
    view.maxIndex = std::max(maxIndex, view.minIndex);
    view.lastIndex = std::min(view.lastIndex, view.maxIndex);
    view.firstIndex = std::clamp(view.firstIndex, view.minIndex, view.lastIndex);
}

void setValueRange(WaveView& view, int zeroMark) {
    // A zero mark of 0 still shows the samples only: 0 is not a sample value.
    view.minValue = zeroMark < 0 ? zeroMark : LowestSample;
    view.maxValue = std::max(HighestSample, zeroMark);
    view.bottomValue = view.minValue;
    view.topValue = view.maxValue;
}

void zoomFull(WaveView& view) {
    view.firstIndex = view.minIndex;
    view.lastIndex = view.maxIndex;
}

void zoomOut(WaveView& view) {
    const int half = view.xSpan() / 2;
    view.firstIndex = std::max(view.firstIndex - half, view.minIndex);
    view.lastIndex = std::min(view.lastIndex + half, view.maxIndex);
}

bool zoomToRange(WaveView& view, int from, int to) {
    if (view.xSpan() <= view.lastX) return false;
    int first = std::clamp(std::min(from, to), view.minIndex, view.maxIndex);
    int last = std::clamp(std::max(from, to), view.minIndex, view.maxIndex);
    if (last - first < view.lastX) {
        first = last - view.lastX;
        if (first < view.minIndex) {
            first = view.minIndex;
            last = std::min(view.minIndex + view.lastX, view.maxIndex);
        }
    }
    view.firstIndex = first;
    view.lastIndex = last;
    return true;
}

bool zoomMax(WaveView& view, int index) {
    if (!view.recordWiderThanImage()) return false;
    placeWindow(view, index - view.lastX / 2, view.lastX);
    return true;
}

void overZoom(WaveView& view, int index) {
    placeWindow(view, index - view.lastX / 64, std::max(view.lastX / 32, 1));
}

void placeView(WaveView& view, int firstIndex) {
    placeWindow(view, firstIndex, view.xSpan());
}

void centreView(WaveView& view, int index) {
    placeWindow(view, index - view.xSpan() / 2, view.xSpan());
}

void panView(WaveView& view, int indexAtPress, int valueAtPress, int x, int y) {
    if (view.lastX > 0)
        placeView(view, rounded(indexAtPress - static_cast<double>(view.xSpan()) * x / view.lastX));
    if (view.lastY <= 0) return;
    const int span = view.ySpan();
    int bottom = rounded(valueAtPress - static_cast<double>(view.lastY - y) * span / view.lastY);
    bottom = std::clamp(bottom, view.minValue, std::max(view.maxValue - span, view.minValue));
    view.bottomValue = bottom;
    view.topValue = bottom + span;
}

std::string zoomLabel(const WaveView& view) {
    if (view.whole()) return {};
    if (view.overZoomed()) return "Over zoomed";
    const double perPixel =
        view.lastX > 0 ? roundHalfEven(view.xSpan() * 10.0 / view.lastX) / 10.0 : 0.0;
    return "Zoom 1:" + plainNumberText(perPixel);
}
