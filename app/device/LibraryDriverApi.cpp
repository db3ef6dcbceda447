#include "device/LibraryDriverApi.h"

#include "q745drv.h"

std::int32_t LibraryDriverApi::SetInterface(std::int32_t mode) {
    return ::SetInterface(mode);
}
std::uint16_t LibraryDriverApi::SetPrinterBase(std::int32_t base) {
    return ::SetPrinterBase(base);
}
std::int32_t LibraryDriverApi::SetEPBOn(std::int32_t on) {
    return ::SetEPBOn(on);
}
char LibraryDriverApi::GetVersionCode() {
    return ::GetVersionCode();
}
std::int32_t LibraryDriverApi::InitHardware(std::int32_t deviceIndex) {
    return ::InitHardware(deviceIndex);
}
std::int32_t LibraryDriverApi::GetAllDevices(std::uint8_t* list) {
    return ::GetAllDevices(list);
}
std::uint8_t LibraryDriverApi::GetDriverVersion(std::int32_t which, std::uint8_t* version) {
    return ::GetDriverVersion(which, version);
}
float LibraryDriverApi::SetFrequency(float frequency) {
    return ::SetFrequency(frequency);
}
float LibraryDriverApi::GetOscillatorFrequency() {
    return ::GetOscillatorFrequency();
}
std::int32_t LibraryDriverApi::SetWaveForm(const std::uint8_t* data, std::int32_t channel,
                                           std::int32_t length, std::int32_t phase,
                                           std::int32_t step) {
    return ::SetWaveForm(data, channel, length, phase, step);
}
std::int32_t LibraryDriverApi::SetLevel(std::int32_t channel, std::int32_t level) {
    return ::SetLevel(channel, level);
}
std::int32_t LibraryDriverApi::SetShift(std::int32_t channel, std::int32_t shift) {
    return ::SetShift(channel, shift);
}
std::int32_t LibraryDriverApi::SetExternalLevel(std::int32_t channel, std::int32_t on) {
    return ::SetExternalLevel(channel, on);
}
std::int32_t LibraryDriverApi::SetFilter(std::int32_t channel, std::int32_t filter) {
    return ::SetFilter(channel, filter);
}
std::int32_t LibraryDriverApi::SetOutput(std::int32_t channel, std::int32_t normal) {
    return ::SetOutput(channel, normal);
}
std::int32_t LibraryDriverApi::SetChannelOn(std::int32_t channel, std::int32_t on) {
    return ::SetChannelOn(channel, on);
}
std::int32_t LibraryDriverApi::SetTriggerMode(std::int32_t mode) {
    return ::SetTriggerMode(mode);
}
std::int32_t LibraryDriverApi::SetTriggerEdge(std::int32_t edge) {
    return ::SetTriggerEdge(edge);
}
std::int32_t LibraryDriverApi::SetExternalTriggerUse(std::int32_t source) {
    return ::SetExternalTriggerUse(source);
}
std::int32_t LibraryDriverApi::SetGeneratorOn(std::int32_t on) {
    return ::SetGeneratorOn(on);
}
std::int32_t LibraryDriverApi::SetDigitalOutputOn(std::int32_t on) {
    return ::SetDigitalOutputOn(on);
}
std::int32_t LibraryDriverApi::SetDigitalVoltage(std::int32_t voltage) {
    return ::SetDigitalVoltage(voltage);
}
