#include "panels/ZoomButtons.h"

#include <QAbstractButton>

#include "panels/WaveScreen.h"

void ZoomButtons::bind(TWaveScreen& display, std::function<bool()> modesAllowed) const {
    display.setZoomAllowed(true);
    const auto modeButton = [&](QAbstractButton* button, void (TWaveScreen::*toggle)()) {
        if (button == nullptr) return;
        button->setCheckable(true);
        QObject::connect(button, &QAbstractButton::clicked, &display,
                         [buttons = *this, &display, modesAllowed, button, toggle] {
                             if (modesAllowed && !modesAllowed()) {
                                 button->setChecked(false);
                                 return;
                             }
                             (display.*toggle)();
                             buttons.showMode(display);
                         });
    };
    modeButton(zoomIn, &TWaveScreen::toggleZoomIn);
    modeButton(zoomMax, &TWaveScreen::toggleZoomMax);
    modeButton(overZoom, &TWaveScreen::toggleOverZoom);
    QObject::connect(zoomOut, &QAbstractButton::clicked, &display,
                     [&display] { display.zoomOut(); });
    QObject::connect(zoomFull, &QAbstractButton::clicked, &display,
                     [&display] { display.zoomFull(); });
    display.onZoomEnded = [buttons = *this, &display] { buttons.showMode(display); };
}

void ZoomButtons::showMode(const TWaveScreen& display) const {
    const TWaveScreen::ZoomMode mode = display.zoomMode();
    zoomIn->setChecked(mode == TWaveScreen::ZoomMode::ZoomIn ||
                       mode == TWaveScreen::ZoomMode::DraggingRange);
    zoomMax->setChecked(mode == TWaveScreen::ZoomMode::ZoomMax);
    if (overZoom != nullptr) overZoom->setChecked(mode == TWaveScreen::ZoomMode::OverZoom);
}
