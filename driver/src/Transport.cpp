#include "Transport.h"

#include <time.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace q745drv {

Transport::Transport(std::unique_ptr<PortDriverProvider> portDrivers,
                     std::unique_ptr<UsbLibraryProvider> usbLibraries)
    : portDrivers_(std::move(portDrivers)), usbLibraries_(std::move(usbLibraries)) {}

// The USB library is released before the providers that made it.
Transport::~Transport() {
    usb_.reset();
    port_.reset();
}

std::int32_t Transport::setInterface(std::int32_t mode) {
    if (mode == 0) {
        if (usbMode_) unloadUsbLibrary();
        usbMode_ = false;
        return 0;
    }
    if (mode != 1) return mode - 1;
    if (!usbMode_ && !loadUsbLibrary()) return 1;
    usbMode_ = false;
    if (usb_->initDevice() != 0) {
        unloadUsbLibrary();
        return 2;
    }
    usbMode_ = true;
    return 0;
}

bool Transport::loadUsbLibrary() {
    usb_ = usbLibraries_ ? usbLibraries_->load() : nullptr;
    if (!usb_) return false;
    usb_->setDllBehaviour(1);
    return true;
}

void Transport::unloadUsbLibrary() {
    usb_.reset();
    usbMode_ = false;
}

bool Transport::openPortDriver() {
    if (!port_ && portDrivers_) port_ = portDrivers_->open();
    return port_ != nullptr;
}

void Transport::closePortDriver() {
    port_.reset();
}

bool Transport::portDriverVersion(std::uint8_t* version) {
    return ioControl(kIoDriverVersion, version, 2, version, 2);
}

bool Transport::ioControl(std::uint32_t code, void* in, std::uint32_t inSize, void* out,
                          std::uint32_t outSize) {
    if (!port_) return false;
    std::uint32_t returned = 0;
    return port_->ioControl(code, in, inSize, out, outSize, &returned);
}

void Transport::portWrite(std::uint32_t offset, std::uint8_t value) {
    if (usbMode_) {
        if (offset == kPortEppAddress) usb_->writeAddress(value);
        if (offset == kPortEppData) usb_->writeData(value);
        return;
    }
    std::array<std::uint8_t, 12> input{};
    const std::uint32_t direction = kPortWrite;
    std::memcpy(input.data(), &direction, 4);
    std::memcpy(input.data() + 4, &offset, 4);
    input[8] = value;
    ioControl(kIoPortAccess, input.data(), input.size(), nullptr, 0);
}

std::uint8_t Transport::portRead(std::uint32_t offset) {
    if (usbMode_) return usb_->readData();
    std::array<std::uint8_t, 8> input{};
    const std::uint32_t direction = kPortRead;
    std::memcpy(input.data(), &direction, 4);
    std::memcpy(input.data() + 4, &offset, 4);
    // A failed call leaves the floating-bus value.
    std::uint8_t value = 0xFF;
    ioControl(kIoPortAccess, input.data(), input.size(), &value, 1);
    return value;
}

void Transport::blockWrite(const std::uint8_t* data, std::int32_t count) {
    if (usbMode_) {
        usb_->writeBuffer(data, count);
        return;
    }
    // The driver takes the data through its output buffer and only reads it.
    ioControl(kIoBlockWrite, nullptr, 0, const_cast<std::uint8_t*>(data),
              static_cast<std::uint32_t>(count));
}

void Transport::loadConfiguration(const std::uint8_t* data, std::int32_t count) {
    if (usbMode_) {
        usb_->loadFpga(data, count);
        return;
    }
    ioControl(kIoLoadConfiguration, nullptr, 0, const_cast<std::uint8_t*>(data),
              static_cast<std::uint32_t>(count));
}

std::uint16_t Transport::readCalibrationWord(std::uint32_t address) {
    std::uint16_t word = 0xFFFF;
    if (usbMode_) {
        usb_->readFromEeprom(static_cast<std::uint16_t>(address), &word);
        return word;
    }
    std::array<std::uint8_t, 8> input{};
    std::memcpy(input.data(), &address, 4);
    ioControl(kIoReadCalibration, input.data(), input.size(), &word, 2);
    return word;
}

void Transport::flushUsb() {
    if (usbMode_) usb_->flushBuffer();
}

void Transport::enterEppMode(bool flag) {
    if (usbMode_) {
        usb_->setEpb();
        return;
    }
    ioControl(kIoPrepareEpp, nullptr, 0, nullptr, 0);
    if (!controlSaved_) {
        controlSaved_ = true;
        savedControl_ = portRead(kPortControl);
    }
    portWrite(kPortControl, 0x0E);
    portWrite(kPortData, flag ? 0xFF : 0x7F);
    portWrite(kPortControl, 0x0F);
    waitAtLeast(2);
    portWrite(kPortControl, 0x0E);
    portWrite(kPortControl, 0x04);
}

void Transport::leaveEppMode() {
    portWrite(kPortControl, 0x0E);
    portWrite(kPortData, 0xFE);
    portWrite(kPortControl, 0x0F);
    waitAtLeast(2);
    portWrite(kPortControl, 0x0E);
    portWrite(kPortControl, 0x04);
    portWrite(kPortControl, savedControl_);
    controlSaved_ = false;
}

void Transport::resetPort() {
    portWrite(kPortData, 0xFF);
    portWrite(kPortControl, 0x04);
    portWrite(kPortStatus, 0xFF);
}

void Transport::finishSequence() {
    if (usbMode_)
        usb_->flushBuffer();
    else
        portRead(kPortStatus);
}

// Sleeps until the monotonic clock has passed the deadline, so the wait is never shorter even
// when a signal interrupts it, and costs no processor time.
void Transport::waitAtLeast(int milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        ++deadline.tv_sec;
        deadline.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

void Transport::sleep(int milliseconds) {
    waitAtLeast(milliseconds);
}

}  // namespace q745drv
