#pragma once

#include <QImage>
#include <QLineEdit>
#include <memory>
#include <type_traits>

#include "../device/DeviceRig.h"
#include "device/VirtualGenerator.h"
#include "shell/Main.h"
#include "ui_Main.h"
#include "waves/WaveformStore.h"

// The main window's controls and an active generator model on a driver (the recording one, or
// the library on the virtual instrument), for the panels to be handed.
template <class Driver = FakeDriverApi>
struct PanelRig : DeviceRig<Driver> {
    PanelRig() {
        if constexpr (std::is_same_v<Driver, FakeDriverApi>)
            this->driver.initByIndex[{0, 0}] = 1000;
        generator = std::make_unique<TVirtualGenerator>(*this->binding, this->state.modeSource(),
                                                        this->messages);
        generator->Activate();
        form = std::make_unique<TMainForm>(this->state, store, this->driver);
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
