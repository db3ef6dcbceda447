#pragma once

class QAbstractButton;
class TWaveScreen;

// The zoom buttons beside a display of the import dialogs. "Zoom in", "Zoom max" and
// "Over zoom" stay down while their mode waits for the click on the display.
struct ZoomButtons {
    QAbstractButton* zoomMax = nullptr;
    QAbstractButton* zoomIn = nullptr;
    QAbstractButton* zoomOut = nullptr;
    QAbstractButton* zoomFull = nullptr;
    QAbstractButton* overZoom = nullptr;
};

// Allows zooming on the display and hooks the buttons to it.
void connectZoomButtons(TWaveScreen& display, const ZoomButtons& buttons);
