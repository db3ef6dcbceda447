#pragma once

// What the main window asks of its digital sequence display.
class DigitalDisplayLink {
public:
    virtual ~DigitalDisplayLink() = default;

    virtual void zoomIn() = 0;
    virtual void zoomOut() = 0;
    virtual void redraw() = 0;
};
