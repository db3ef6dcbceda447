#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "FakeDriverApi.h"
#include "FakeSpooler.h"
#include "core/OperatingMode.h"
#include "RecordingMessages.h"
#include "device/PrinterSharing.h"
#include "device/VirtualDriver.h"
#include "device/VirtualDriverFeedbackScreen.h"

// The device layer on a recording driver (or the library), with the operator answering from a
// script.
template <class Driver = FakeDriverApi>
struct DeviceRig {
    explicit DeviceRig(bool debugMode = true)
        : printer(spooler, driver, state),
          binding(std::make_unique<VirtualDriver>(driver, state, state.modeSource(), messages,
                                                  printer, debugMode)) {
        state.currentMode = ModeAnalog;
    }

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
    AppState state;
    RecordingMessages messages;
    FakeSpooler spooler;
    PrinterSharing printer;
    std::unique_ptr<VirtualDriver> binding;
};
