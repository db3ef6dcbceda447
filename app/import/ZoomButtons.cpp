#include "import/ZoomButtons.h"

#include <QAbstractButton>

#include "panels/WaveScreen.h"

namespace {

// The mode buttons show the display's mode.
void showMode(TWaveScreen& display, const ZoomButtons& buttons) {
    const TWaveScreen::ZoomMode mode = display.zoomMode();
    buttons.zoomIn->setChecked(mode == TWaveScreen::ZoomMode::ZoomIn ||
                               mode == TWaveScreen::ZoomMode::DraggingRange);
    buttons.zoomMax->setChecked(mode == TWaveScreen::ZoomMode::ZoomMax);
    buttons.overZoom->setChecked(mode == TWaveScreen::ZoomMode::OverZoom);
}

}  // namespace

void connectZoomButtons(TWaveScreen& display, const ZoomButtons& buttons) {
    display.setZoomAllowed(true);
    for (QAbstractButton* mode : {buttons.zoomIn, buttons.zoomMax, buttons.overZoom})
        mode->setCheckable(true);
    QObject::connect(buttons.zoomIn, &QAbstractButton::clicked, &display, [&display, buttons] {
        display.toggleZoomIn();
        showMode(display, buttons);
    });
    QObject::connect(buttons.zoomMax, &QAbstractButton::clicked, &display, [&display, buttons] {
        display.toggleZoomMax();
        showMode(display, buttons);
    });
    QObject::connect(buttons.overZoom, &QAbstractButton::clicked, &display, [&display, buttons] {
        display.toggleOverZoom();
        showMode(display, buttons);
    });
    QObject::connect(buttons.zoomOut, &QAbstractButton::clicked, &display,
                     [&display] { display.zoomOut(); });
    QObject::connect(buttons.zoomFull, &QAbstractButton::clicked, &display,
                     [&display] { display.zoomFull(); });
    display.onZoomEnded = [&display, buttons] { showMode(display, buttons); };
}
