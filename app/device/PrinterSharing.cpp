#include "device/PrinterSharing.h"

#include <QEventLoop>
#include <string_view>

#include "core/AppState.h"
#include "device/DriverApi.h"
#include "device/PrintSpooler.h"
#include "device/PrinterScreen.h"

namespace {

bool listsPort(std::string_view ports, std::string_view name) {
    while (true) {
        std::size_t comma = ports.find(',');
        if (ports.substr(0, comma) == name) return true;
        if (comma == std::string_view::npos) return false;
        ports.remove_prefix(comma + 1);
    }
}

}  // namespace

PrinterSharing::PrinterSharing(PrintSpooler& spooler, DriverApi& driver, AppState& state)
    : spooler_(spooler), driver_(driver), state_(state) {}

PrinterSharing::~PrinterSharing() = default;

void PrinterSharing::countPrinterJobs() {
    state_.printerJobs = 0;
    for (const PrintSpooler::Printer& printer : spooler_.printers()) {
        if (printer.jobs != 0 && listsPort(printer.ports, state_.portName)) {
            state_.printerJobs = printer.jobs;
            return;
        }
    }
}

void PrinterSharing::spoolerStatusChanged() {
    const std::int32_t old = state_.printerJobs;
    countPrinterJobs();
    if (state_.printerJobs >= 1 && old == 0) driver_.SetEPBOn(0);
    if (state_.printerJobs == 0 && old > 0) {
        driver_.SetEPBOn(1);
        if (printerWaitShown_ && waitWindow_) waitWindow_->portReleased();
    }
}

void PrinterSharing::WaitForPrinter() {
    if (state_.printerJobs <= 0) return;
    if (printerWaitShown_ && waitWindow_) {
        // A device call made while the window is up (a timer) waits for the same window
        // instead of stacking a second one.
        QEventLoop loop;
        QObject::connect(waitWindow_.data(), &QDialog::finished, &loop, &QEventLoop::quit);
        loop.exec();
        return;
    }
    printerWaitShown_ = true;
    TPrinterForm window;
    waitWindow_ = &window;
    window.exec();
    printerWaitShown_ = false;
}
