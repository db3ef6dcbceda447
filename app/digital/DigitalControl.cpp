#include "digital/DigitalControl.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "device/VirtualGenerator.h"

TDigitalControl::TDigitalControl(QComboBox& box, TVirtualGenerator& generator)
    : box_(&box), generator_(generator) {
    {
        const QSignalBlocker quiet(&box);
        box.setCurrentIndex(0);
    }
    connect(&box, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0) generator_.ChangeDigitalVoltage(item);
    });
}

void TDigitalControl::sendVoltage() {
    if (box_ && box_->currentIndex() >= 0) generator_.ChangeDigitalVoltage(box_->currentIndex());
}
