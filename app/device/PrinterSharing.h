#pragma once

#include <QPointer>
#include <cstdint>
#include <string>

class DriverApi;
class PrintSpooler;
class TPrinterForm;

// The instrument and a printer may share the parallel port. While jobs are queued on the
// printer of the instrument's port, the port belongs to the printer: device operations wait in
// WaitForPrinter, and the port is handed over and back with SetEPBOn.
class PrinterSharing {
public:
    PrinterSharing(PrintSpooler& spooler, DriverApi& driver);
    ~PrinterSharing();
    PrinterSharing(const PrinterSharing&) = delete;
    PrinterSharing& operator=(const PrinterSharing&) = delete;

    // The spooler's name of the instrument's port ("LPT1:" ... "LPT4:", "KELVOUSB").
    void setPortName(const std::string& name) { portName_ = name; }
    const std::string& portName() const { return portName_; }

    std::int32_t printerJobs() const { return printerJobs_; }
    bool printerWaitShown() const { return printerWaitShown_; }
    void resetPrinterWaitShown() { printerWaitShown_ = false; }

    // Recounts the jobs: those of the first printer with queued jobs that lists the port
    // (compared case-sensitively), else 0.
    void countPrinterJobs();
    // On every status notification of the spooler: recount; hand the port to the printer when
    // the first job arrives and take it back (closing the wait window) when the last one ends.
    void spoolerStatusChanged();
    // While jobs are queued, shows the wait window modally until the port is free again.
    void WaitForPrinter();

private:
    PrintSpooler& spooler_;
    DriverApi& driver_;
    std::string portName_;
    std::int32_t printerJobs_ = 0;
    bool printerWaitShown_ = false;
    QPointer<TPrinterForm> waitWindow_;
};
