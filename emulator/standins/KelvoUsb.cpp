// The USB library's functions drive the process's virtual USB adapter. Built twice: with
// Q745_USB_WITHOUT_VERSION the library lacks GetDriverVersion.
#include "KelvoUsb.h"

#include "VirtualBench.h"

#define KELVO_EXPORT __attribute__((visibility("default")))

namespace {

q745vi::VirtualUsbInterface& adapter() {
    return q745vi::VirtualBench::process().usb();
}

// Unloading the library closes the adapter.
struct UnloadNotice {
    ~UnloadNotice() { adapter().libraryUnloaded(); }
};
const UnloadNotice unloadNotice;

}  // namespace

extern "C" {

KELVO_EXPORT int32_t USBInitDevice(void) {
    return adapter().initDevice();
}
KELVO_EXPORT void USBFlushBuffer(void) {
    adapter().flushBuffer();
}
KELVO_EXPORT void USBWriteAddress(uint8_t address) {
    adapter().writeAddress(address);
}
KELVO_EXPORT void USBWriteData(uint8_t value) {
    adapter().writeData(value);
}
KELVO_EXPORT void USBSetEPB(void) {
    adapter().setEpb();
}
KELVO_EXPORT uint8_t USBReadData(void) {
    return adapter().readData();
}
KELVO_EXPORT void USBWriteBuffer(const uint8_t* buffer, int32_t count) {
    adapter().writeBuffer(buffer, count);
}
KELVO_EXPORT void USBLoadFPGA(const uint8_t* buffer, int32_t count) {
    adapter().loadFpga(buffer, count);
}
KELVO_EXPORT void USBReadFromEEPROM(uint16_t address, uint16_t* result) {
    adapter().readFromEeprom(address, result);
}
KELVO_EXPORT void SetDLLBehaviour(int32_t value) {
    adapter().setDllBehaviour(value);
}
#ifndef Q745_USB_WITHOUT_VERSION
KELVO_EXPORT void GetDriverVersion(uint8_t* version) {
    adapter().driverVersion(version);
}
#endif

}  // extern "C"
