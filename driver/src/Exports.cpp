// The library's C exports: each forwards to the process's one Driver. Nothing may throw across
// the C boundary, so a failure that escapes (only the first call's allocation can) gives the
// export's failure value.
#include "q745drv.h"

#include "Driver.h"
#include "DynamicPortDriver.h"
#include "DynamicUsbLibrary.h"

namespace {

using q745drv::Driver;

// Created on first use and never destroyed: an open port driver and a loaded USB library stay
// so until the process ends.
Driver& processDriver() {
    static Driver* driver = new Driver(std::make_unique<q745drv::DynamicPortDriverProvider>(),
                                       std::make_unique<q745drv::DynamicUsbLibraryProvider>());
    return *driver;
}

template <typename Result, typename Call>
Result guarded(Result failure, Call call) noexcept {
    try {
        return call(processDriver());
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

int32_t SetInterface(int32_t mode) {
    return guarded<int32_t>(1, [&](Driver& d) { return d.setInterface(mode); });
}

uint16_t SetPrinterBase(int32_t base) {
    return guarded<uint16_t>(static_cast<uint16_t>(base),
                             [&](Driver& d) { return d.setPrinterBase(base); });
}

int32_t SetEPBOn(int32_t on) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.setEpbOn(on); });
}

char GetVersionCode(void) {
    return Driver::versionCode();
}

int32_t InitHardware(int32_t deviceIndex) {
    return guarded<int32_t>(q745drv::kPortDriverUnavailable,
                            [&](Driver& d) { return d.initHardware(deviceIndex); });
}

int32_t GetAllDevices(uint8_t* list) {
    return guarded<int32_t>(-1, [&](Driver& d) { return d.getAllDevices(list); });
}

uint8_t GetDriverVersion(int32_t which, uint8_t* version) {
    return guarded<uint8_t>(q745drv::kComponentMissing,
                            [&](Driver& d) { return d.getDriverVersion(which, version); });
}

float SetFrequency(float frequency) {
    return guarded<float>(0.0f, [&](Driver& d) { return d.setFrequency(frequency); });
}

float GetOscillatorFrequency(void) {
    return guarded<float>(50000000.0f, [&](Driver& d) { return d.oscillatorFrequency(); });
}

int32_t SetWaveForm(const uint8_t* data, int32_t channel, int32_t length, int32_t phase,
                    int32_t step) {
    return guarded<int32_t>(
        0, [&](Driver& d) { return d.setWaveForm(data, channel, length, phase, step); });
}

int32_t SetLevel(int32_t channel, int32_t level) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setLevel(channel, level); });
}

int32_t SetShift(int32_t channel, int32_t shift) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setShift(channel, shift); });
}

int32_t SetExternalLevel(int32_t channel, int32_t on) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setExternalLevel(channel, on); });
}

int32_t SetFilter(int32_t channel, int32_t filter) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setFilter(channel, filter); });
}

int32_t SetOutput(int32_t channel, int32_t normal) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setOutput(channel, normal); });
}

int32_t SetChannelOn(int32_t channel, int32_t on) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.analog().setChannelOn(channel, on); });
}

int32_t SetTriggerMode(int32_t mode) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.trigger().setTriggerMode(mode); });
}

int32_t SetTriggerEdge(int32_t edge) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.trigger().setTriggerEdge(edge); });
}

int32_t SetExternalTriggerUse(int32_t source) {
    return guarded<int32_t>(0,
                            [&](Driver& d) { return d.trigger().setExternalTriggerUse(source); });
}

int32_t SetGeneratorOn(int32_t on) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.trigger().setGeneratorOn(on); });
}

int32_t SetDigitalOutputOn(int32_t on) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.trigger().setDigitalOutputOn(on); });
}

int32_t SetDigitalVoltage(int32_t voltage) {
    return guarded<int32_t>(0, [&](Driver& d) { return d.trigger().setDigitalVoltage(voltage); });
}

}  // extern "C"
