#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "BenchConnection.h"

// A test with its own virtual bench (by default one instrument at parallel device index 0)
// and a driver connected to it in-process.
class DriverOnBench : public ::testing::Test {
protected:
    explicit DriverOnBench(const char* configuration = "parallel:0");
    ~DriverOnBench() override;

    // A new driver on the same bench, with the lock file of this test.
    void reconnect();
    // InitHardware at `index`, expecting 1000, with recording started afterwards.
    void initialise(int index = 0);

    q745vi::VirtualInstrument& instrument(int index = 0);
    const std::vector<q745vi::InstrumentEvent>& events() { return bench->log().events(); }
    std::vector<std::pair<int, int>> writes() { return registerWrites(events()); }
    const std::vector<q745vi::PortCycle>& cycles() { return bench->parallelPort().cycles(); }
    void startRecording() { bench->setRecording(true); }

    std::unique_ptr<q745vi::VirtualBench> bench;
    BenchPortDriverProvider* portDrivers = nullptr;
    BenchUsbLibraryProvider* usbLibraries = nullptr;
    std::filesystem::path lockFile;
    std::unique_ptr<q745drv::Driver> driver;
};

// A 16384-point waveform: `periods` sine periods at full scale around 128.
std::vector<std::uint8_t> sineWave(int periods = 1);
