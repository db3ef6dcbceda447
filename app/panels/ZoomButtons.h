#pragma once

#include <functional>

class QAbstractButton;
class TWaveScreen;

// The zoom buttons beside a waveform display: the editors' previews, the hand editor, the
// gallery's large display and the import dialogs. "Zoom max", "Zoom in" and "Over zoom" stay
// down while their mode waits for the click on the display; "Over zoom" is not beside every
// display.
struct ZoomButtons {
    QAbstractButton* zoomMax = nullptr;
    QAbstractButton* zoomIn = nullptr;
    QAbstractButton* zoomOut = nullptr;
    QAbstractButton* zoomFull = nullptr;
    QAbstractButton* overZoom = nullptr;

    // Allows zooming on the display and hooks the buttons to it. While modesAllowed (where
    // given) answers false, a mode button springs back up and leaves the mode as it is.
    void bind(TWaveScreen& display, std::function<bool()> modesAllowed = {}) const;
    // The mode buttons show the display's mode; for an owner that changed the mode itself.
    void showMode(const TWaveScreen& display) const;
};
