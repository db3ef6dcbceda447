#pragma once

#include <QImage>
#include <QLineEdit>
#include <memory>

#include "../device/DeviceRig.h"
#include "device/VirtualGenerator.h"
#include "shell/Main.h"
#include "ui_Main.h"
#include "waves/WaveformStore.h"

// The main window's controls and an active generator model on the recording driver, for the
// panels to be handed.
struct PanelRig : DeviceRig<> {
    PanelRig() {
        driver.initByIndex[{0, 0}] = 1000;
        generator = std::make_unique<TVirtualGenerator>(*binding, state.modeSource(), messages);
        generator->Activate();
        form = std::make_unique<TMainForm>(state, store, driver);
        ui = &form->controls();
    }

    WaveformStore store;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
    Ui::TMainForm* ui = nullptr;
};

// The text colour a line edit is drawn with.
inline QColor textColour(const QLineEdit* edit) {
    return edit->palette().color(QPalette::Text);
}

// Pixels of exactly one colour in the columns [from, to) of an image.
inline int pixelsOf(const QImage& image, QRgb colour, int from, int to) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}
