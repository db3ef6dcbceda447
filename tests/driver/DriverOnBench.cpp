#include "DriverOnBench.h"

#include <cmath>
#include <numbers>
#include <string>

DriverOnBench::DriverOnBench(const char* configuration) : lockFile(testLockFile()) {
    std::string error;
    const auto parsed = q745vi::BenchConfiguration::parse(configuration, error);
    bench = std::make_unique<q745vi::VirtualBench>(parsed.value());
    reconnect();
}

DriverOnBench::~DriverOnBench() {
    driver.reset();
    std::filesystem::remove(lockFile);
}

void DriverOnBench::reconnect() {
    driver.reset();
    auto ports = std::make_unique<BenchPortDriverProvider>(*bench);
    auto usb = std::make_unique<BenchUsbLibraryProvider>(*bench);
    portDrivers = ports.get();
    usbLibraries = usb.get();
    driver = std::make_unique<q745drv::Driver>(std::move(ports), std::move(usb), lockFile);
}

void DriverOnBench::initialise(int index) {
    ASSERT_EQ(driver->initHardware(index), 1000);
    startRecording();
}

q745vi::VirtualInstrument& DriverOnBench::instrument(int index) {
    q745vi::VirtualInstrument* found = bench->parallelInstrument(index);
    if (found == nullptr) found = bench->usbInstrument();
    EXPECT_NE(found, nullptr);
    return *found;
}

std::vector<std::uint8_t> sineWave(int periods) {
    std::vector<std::uint8_t> wave(16384);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double phase = 2.0 * std::numbers::pi * periods * static_cast<double>(i) / 16384.0;
        wave[i] = static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * std::sin(phase)));
    }
    return wave;
}
