#include "DynamicUsbLibrary.h"

#include "SharedObject.h"

namespace q745drv {

namespace {

struct UsbFunctions {
    std::int32_t (*initDevice)() = nullptr;
    void (*flushBuffer)() = nullptr;
    void (*writeAddress)(std::uint8_t) = nullptr;
    void (*writeData)(std::uint8_t) = nullptr;
    void (*setEpb)() = nullptr;
    std::uint8_t (*readData)() = nullptr;
    void (*writeBuffer)(const std::uint8_t*, std::int32_t) = nullptr;
    void (*loadFpga)(const std::uint8_t*, std::int32_t) = nullptr;
    void (*readFromEeprom)(std::uint16_t, std::uint16_t*) = nullptr;
    void (*setDllBehaviour)(std::int32_t) = nullptr;
    void (*getDriverVersion)(std::uint8_t*) = nullptr;  // optional

    bool bind(const SharedObject& library) {
        const bool required =
            library.bind(initDevice, "USBInitDevice") &&
            library.bind(flushBuffer, "USBFlushBuffer") &&
            library.bind(writeAddress, "USBWriteAddress") &&
            library.bind(writeData, "USBWriteData") && library.bind(setEpb, "USBSetEPB") &&
            library.bind(readData, "USBReadData") && library.bind(writeBuffer, "USBWriteBuffer") &&
            library.bind(loadFpga, "USBLoadFPGA") &&
            library.bind(readFromEeprom, "USBReadFromEEPROM") &&
            library.bind(setDllBehaviour, "SetDLLBehaviour");
        library.bind(getDriverVersion, "GetDriverVersion");
        return required;
    }
};

class DynamicUsbLibrary : public UsbLibrary {
public:
    DynamicUsbLibrary(std::unique_ptr<SharedObject> library, const UsbFunctions& functions)
        : library_(std::move(library)), f_(functions) {}

    std::int32_t initDevice() override { return f_.initDevice(); }
    void flushBuffer() override { f_.flushBuffer(); }
    void writeAddress(std::uint8_t address) override { f_.writeAddress(address); }
    void writeData(std::uint8_t value) override { f_.writeData(value); }
    void setEpb() override { f_.setEpb(); }
    std::uint8_t readData() override { return f_.readData(); }
    void writeBuffer(const std::uint8_t* data, std::int32_t count) override {
        f_.writeBuffer(data, count);
    }
    void loadFpga(const std::uint8_t* data, std::int32_t count) override {
        f_.loadFpga(data, count);
    }
    void readFromEeprom(std::uint16_t address, std::uint16_t* word) override {
        f_.readFromEeprom(address, word);
    }
    void setDllBehaviour(std::int32_t value) override { f_.setDllBehaviour(value); }
    bool driverVersion(std::uint8_t* version) override {
        if (f_.getDriverVersion == nullptr) return false;
        f_.getDriverVersion(version);
        return true;
    }

private:
    std::unique_ptr<SharedObject> library_;
    UsbFunctions f_;
};

}  // namespace

std::unique_ptr<UsbLibrary> DynamicUsbLibraryProvider::load() {
    auto library = std::make_unique<SharedObject>("Q745_USB_LIBRARY", "libkelvousb.so");
    UsbFunctions functions;
    if (!library->loaded() || !functions.bind(*library)) return nullptr;
    return std::make_unique<DynamicUsbLibrary>(std::move(library), functions);
}

}  // namespace q745drv
