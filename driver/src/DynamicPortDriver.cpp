#include "DynamicPortDriver.h"

#include "SharedObject.h"

namespace q745drv {

namespace {

using OpenFunction = void*();
using IoControlFunction = std::int32_t(void*, std::uint32_t, void*, std::uint32_t, void*,
                                       std::uint32_t, std::uint32_t*);
using CloseFunction = void(void*);

class DynamicPortDriver : public PortDriver {
public:
    DynamicPortDriver(std::unique_ptr<SharedObject> library, IoControlFunction* ioControlEntry,
                      CloseFunction* closeEntry, void* device)
        : library_(std::move(library)),
          ioControl_(ioControlEntry),
          close_(closeEntry),
          device_(device) {}
    ~DynamicPortDriver() override { close_(device_); }

    bool ioControl(std::uint32_t code, void* in, std::uint32_t inSize, void* out,
                   std::uint32_t outSize, std::uint32_t* bytesReturned) override {
        return ioControl_(device_, code, in, inSize, out, outSize, bytesReturned) != 0;
    }

private:
    std::unique_ptr<SharedObject> library_;
    IoControlFunction* ioControl_;
    CloseFunction* close_;
    void* device_;
};

}  // namespace

std::unique_ptr<PortDriver> DynamicPortDriverProvider::open() {
    auto library = std::make_unique<SharedObject>("Q745_PORT_DRIVER", "libkelvoepb.so");
    OpenFunction* openEntry = nullptr;
    IoControlFunction* ioControlEntry = nullptr;
    CloseFunction* closeEntry = nullptr;
    if (!library->bind(openEntry, "KelvoEpbOpen") ||
        !library->bind(ioControlEntry, "KelvoEpbIoControl") ||
        !library->bind(closeEntry, "KelvoEpbClose"))
        return nullptr;
    void* device = openEntry();
    if (device == nullptr) return nullptr;
    return std::make_unique<DynamicPortDriver>(std::move(library), ioControlEntry, closeEntry,
                                               device);
}

}  // namespace q745drv
