#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "FakeDriverApi.h"
#include "OperatingMode.h"
#include "RecordingMessages.h"
#include "device/DeviceSettings.h"
#include "device/PrintSpooler.h"
#include "device/PrinterSharing.h"
#include "device/VirtualDriver.h"
#include "device/VirtualDriverFeedbackScreen.h"

class SettableMode final : public CurrentModeSource {
public:
    int currentMode() const override { return mode; }
    int mode = ModeAnalog;
};

class FakeSpooler final : public PrintSpooler {
public:
    std::vector<Printer> printers() override { return queues; }
    std::vector<Printer> queues;
};

// The device layer on a recording driver, with the operator answering from a script.
template <class Driver = FakeDriverApi>
struct DeviceRig {
    explicit DeviceRig(bool debugMode = true)
        : printer(spooler, driver),
          binding(std::make_unique<VirtualDriver>(driver, settings, mode, messages, printer,
                                                  debugMode)) {}

    // The log window's lines.
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        if (binding->feedbackForm() == nullptr) return lines;
        const QString text = binding->feedbackForm()->Memo1()->toPlainText();
        if (text.isEmpty()) return lines;
        for (const QString& line : text.split('\n'))
            lines.push_back(line.toStdString());
        return lines;
    }
    void clearLog() {
        if (binding->feedbackForm() != nullptr) binding->feedbackForm()->Memo1()->clear();
    }

    Driver driver;
    DeviceSettings settings;
    SettableMode mode;
    RecordingMessages messages;
    FakeSpooler spooler;
    PrinterSharing printer;
    std::unique_ptr<VirtualDriver> binding;
};
