#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;
class TVirtualGenerator;

// The output voltage of the sixteen digital lines ("3.3V" or "5V" in DigitalVoltageBox): every
// choice the operator makes goes to the instrument through the generator model. The settings
// put the box into its stored state quietly; the start-up sends it once with sendVoltage.
class TDigitalControl : public QObject {
public:
    // Selects "3.3V" without sending anything.
    TDigitalControl(QComboBox& box, TVirtualGenerator& generator);

    // Sends the selected item (0 for 3.3 V, 1 for 5 V).
    void sendVoltage();

private:
    QPointer<QComboBox> box_;
    TVirtualGenerator& generator_;
};
