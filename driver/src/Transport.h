#pragma once

#include <cstdint>
#include <memory>

#include "PortDriver.h"
#include "UsbLibrary.h"

namespace q745drv {

// The path to the instrument: the parallel-port driver or the USB library, and the single port
// accesses and bus operations that every register sequence is made of. Transport failures are
// not reported; a missing or silent instrument shows in the identification and communication
// tests of the initialisation.
class Transport {
public:
    Transport(std::unique_ptr<PortDriverProvider> portDrivers,
              std::unique_ptr<UsbLibraryProvider> usbLibraries);
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    bool usbMode() const { return usbMode_; }

    // SetInterface: 0 parallel port, 1 USB. 0 success, 1 no USB library, 2 USB device not
    // ready; any other mode changes nothing and gives mode - 1.
    std::int32_t setInterface(std::int32_t mode);

    // Binds the USB library (and calls its SetDLLBehaviour(1)); false when it is missing or
    // incomplete. Unloading also returns to the parallel port.
    bool loadUsbLibrary();
    void unloadUsbLibrary();
    UsbLibrary* usbLibrary() { return usb_.get(); }

    // The port driver is opened when first needed and stays open; GetDriverVersion opens it for
    // its own call only.
    bool portDriverOpen() const { return port_ != nullptr; }
    bool openPortDriver();
    void closePortDriver();
    // The driver's version operation; false when the call fails.
    bool portDriverVersion(std::uint8_t* version);

    // Single port accesses. In USB mode offset 3 is an address cycle, 4 a data cycle, writes to
    // offsets 0..2 do nothing and every read is a data read.
    void portWrite(std::uint32_t offset, std::uint8_t value);
    std::uint8_t portRead(std::uint32_t offset);
    // n data-write cycles to the selected register.
    void blockWrite(const std::uint8_t* data, std::int32_t count);
    void loadConfiguration(const std::uint8_t* data, std::int32_t count);
    // The calibration memory word at `address` (register 2 must be selected).
    std::uint16_t readCalibrationWord(std::uint32_t address);
    // USB: all cycles so far reach the instrument; parallel port: nothing to do.
    void flushUsb();

    // Port sequences that hand the port between the instrument and a printer.
    void enterEppMode(bool flag);
    void leaveEppMode();
    void resetPort();
    // The end of every locked sequence: a status read on the parallel port, a flush on USB.
    void finishSequence();

    // Waits of at least the given time, asleep until that much has passed on the monotonic
    // clock: the waits the instrument needs, and a plain sleep.
    static void waitAtLeast(int milliseconds);
    static void sleep(int milliseconds);

private:
    bool ioControl(std::uint32_t code, void* in, std::uint32_t inSize, void* out,
                   std::uint32_t outSize);

    std::unique_ptr<PortDriverProvider> portDrivers_;
    std::unique_ptr<UsbLibraryProvider> usbLibraries_;
    std::unique_ptr<PortDriver> port_;
    std::unique_ptr<UsbLibrary> usb_;
    bool usbMode_ = false;
    std::uint8_t savedControl_ = 0;  // the control byte found when EPP mode was first entered
    bool controlSaved_ = false;
};

}  // namespace q745drv
