#pragma once

#include <QPointer>

class AppState;
class DriverApi;
class PrintSpooler;
class TPrinterForm;

// The instrument and a printer may share the parallel port. While jobs are queued on the
// printer of the instrument's port, the port belongs to the printer: device operations wait in
// WaitForPrinter, and the port is handed over and back with SetEPBOn.
class PrinterSharing {
public:
    // The job count and the port name live in the application state.
    PrinterSharing(PrintSpooler& spooler, DriverApi& driver, AppState& state);
    ~PrinterSharing();
    PrinterSharing(const PrinterSharing&) = delete;
    PrinterSharing& operator=(const PrinterSharing&) = delete;

    bool printerWaitShown() const { return printerWaitShown_; }
    void resetPrinterWaitShown() { printerWaitShown_ = false; }

    // Recounts printerJobs: the jobs of the first printer with queued jobs that lists the
    // state's portName (compared case-sensitively), else 0.
    void countPrinterJobs();
    // On every status notification of the spooler: recount; hand the port to the printer when
    // the first job arrives and take it back (closing the wait window) when the last one ends.
    void spoolerStatusChanged();
    // While jobs are queued, shows the wait window modally until the port is free again.
    void WaitForPrinter();

private:
    PrintSpooler& spooler_;
    DriverApi& driver_;
    AppState& state_;
    bool printerWaitShown_ = false;
    QPointer<TPrinterForm> waitWindow_;
};
