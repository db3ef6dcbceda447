#pragma once

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "Driver.h"
#include "VirtualBench.h"

// Connects a driver to a test's own virtual bench in-process, in place of the libraries that
// the shared library loads by name.

class BenchPortDriver : public q745drv::PortDriver {
public:
    explicit BenchPortDriver(q745vi::VirtualParallelPort& port) : port_(port) {}
    ~BenchPortDriver() override { port_.close(); }
    bool ioControl(std::uint32_t code, void* in, std::uint32_t inSize, void* out,
                   std::uint32_t outSize, std::uint32_t* bytesReturned) override {
        return port_.ioControl(code, in, inSize, out, outSize, bytesReturned);
    }

private:
    q745vi::VirtualParallelPort& port_;
};

class BenchPortDriverProvider : public q745drv::PortDriverProvider {
public:
    explicit BenchPortDriverProvider(q745vi::VirtualBench& bench) : bench_(bench) {}
    std::unique_ptr<q745drv::PortDriver> open() override {
        ++opens;
        if (!bench_.parallelPort().open()) return nullptr;
        return std::make_unique<BenchPortDriver>(bench_.parallelPort());
    }
    int opens = 0;

private:
    q745vi::VirtualBench& bench_;
};

class BenchUsbLibrary : public q745drv::UsbLibrary {
public:
    BenchUsbLibrary(q745vi::VirtualUsbInterface& usb, bool withVersion)
        : usb_(usb), withVersion_(withVersion) {}
    ~BenchUsbLibrary() override { usb_.libraryUnloaded(); }
    std::int32_t initDevice() override { return usb_.initDevice(); }
    void flushBuffer() override { usb_.flushBuffer(); }
    void writeAddress(std::uint8_t address) override { usb_.writeAddress(address); }
    void writeData(std::uint8_t value) override { usb_.writeData(value); }
    void setEpb() override { usb_.setEpb(); }
    std::uint8_t readData() override { return usb_.readData(); }
    void writeBuffer(const std::uint8_t* data, std::int32_t count) override {
        usb_.writeBuffer(data, count);
    }
    void loadFpga(const std::uint8_t* data, std::int32_t count) override {
        usb_.loadFpga(data, count);
    }
    void readFromEeprom(std::uint16_t address, std::uint16_t* word) override {
        usb_.readFromEeprom(address, word);
    }
    void setDllBehaviour(std::int32_t value) override { usb_.setDllBehaviour(value); }
    bool driverVersion(std::uint8_t* version) override {
        if (!withVersion_) return false;
        usb_.driverVersion(version);
        return true;
    }

private:
    q745vi::VirtualUsbInterface& usb_;
    bool withVersion_;
};

class BenchUsbLibraryProvider : public q745drv::UsbLibraryProvider {
public:
    explicit BenchUsbLibraryProvider(q745vi::VirtualBench& bench) : bench_(bench) {}
    std::unique_ptr<q745drv::UsbLibrary> load() override {
        ++loads;
        if (!installed) return nullptr;
        return std::make_unique<BenchUsbLibrary>(bench_.usb(), withVersion);
    }
    bool installed = true;
    bool withVersion = true;
    int loads = 0;

private:
    q745vi::VirtualBench& bench_;
};

// The register writes an instrument decoded, as (register, value), in order.
std::vector<std::pair<int, int>> registerWrites(const std::vector<q745vi::InstrumentEvent>& events);
// The events of one kind.
std::vector<q745vi::InstrumentEvent> eventsOf(const std::vector<q745vi::InstrumentEvent>& events,
                                              q745vi::EventKind kind);
// The port driver's data-bus writes at one port offset, in order.
std::vector<int> portWrites(const std::vector<q745vi::PortCycle>& cycles, std::uint32_t offset);

// A fresh lock file path for one test.
std::filesystem::path testLockFile();
