// The port driver's device is the process's virtual parallel port.
#include "KelvoEpb.h"

#include "VirtualBench.h"

#define KELVO_EXPORT __attribute__((visibility("default")))

using q745vi::VirtualBench;
using q745vi::VirtualParallelPort;

extern "C" {

KELVO_EXPORT void* KelvoEpbOpen(void) {
    try {
        VirtualParallelPort& port = VirtualBench::process().parallelPort();
        return port.open() ? &port : nullptr;
    } catch (...) {
        return nullptr;
    }
}

KELVO_EXPORT int32_t KelvoEpbIoControl(void* device, uint32_t code, void* inBuffer, uint32_t inSize,
                                       void* outBuffer, uint32_t outSize, uint32_t* bytesReturned) {
    if (device == nullptr) return 0;
    try {
        return static_cast<VirtualParallelPort*>(device)->ioControl(
                   code, inBuffer, inSize, outBuffer, outSize, bytesReturned)
                   ? 1
                   : 0;
    } catch (...) {
        return 0;
    }
}

KELVO_EXPORT void KelvoEpbClose(void* device) {
    if (device != nullptr) static_cast<VirtualParallelPort*>(device)->close();
}

}  // extern "C"
