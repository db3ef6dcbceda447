#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "InstrumentEvent.h"
#include "LogJson.h"
#include "VirtualInstrument.h"

namespace q745vi {

// One call into the USB library, as recorded for tests.
struct UsbCall {
    enum class Kind {
        InitDevice,
        FlushBuffer,
        WriteAddress,
        WriteData,
        SetEpb,
        ReadData,
        WriteBuffer,
        LoadFpga,
        ReadFromEeprom,
        SetDllBehaviour,
        DriverVersion,
    };
    Kind kind;
    std::uint32_t value = 0;   // byte, word address or behaviour value
    std::uint32_t length = 0;  // buffer bytes
    bool operator==(const UsbCall&) const = default;
};

// The USB adapter with the instrument behind it, as the USB library's functions drive it.
// Address and data cycles are buffered in the adapter and reach the instrument at the next
// flush, read, buffer write, configuration load or calibration read, so a wait that the
// instrument needs between two cycles has to follow a flush. Cycles reach the instrument only
// after a successful USBInitDevice and USBSetEPB.
class VirtualUsbInterface {
public:
    explicit VirtualUsbInterface(EventSink& sink) : sink_(sink) {}

    void attach(VirtualInstrument* instrument);  // nullptr: no instrument on USB

    std::int32_t initDevice();  // 0 when an instrument is attached and ready
    void flushBuffer();
    void writeAddress(std::uint8_t address);
    void writeData(std::uint8_t value);
    void setEpb();
    std::uint8_t readData();
    void writeBuffer(const std::uint8_t* data, std::int32_t count);
    void loadFpga(const std::uint8_t* data, std::int32_t count);
    void readFromEeprom(std::uint16_t address, std::uint16_t* word);
    void setDllBehaviour(std::int32_t value);
    void driverVersion(std::uint8_t* version);
    // The library was unloaded: the adapter is closed until the next USBInitDevice.
    void libraryUnloaded();

    // Faults and settings.
    void setInitFails(bool fails) { initFails_ = fails; }
    void setDriverVersion(std::uint8_t major, std::uint8_t minor) { version_ = {major, minor}; }

    bool ready() const { return ready_; }
    std::size_t pendingCycles() const { return pending_.size(); }
    void setRecording(bool on) { recording_ = on; }
    const std::vector<UsbCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

    LogJson stateJson() const;

private:
    struct Cycle {
        bool address;
        std::uint8_t value;
    };
    void deliver();
    VirtualInstrument* selected() const;
    void note(UsbCall call);

    EventSink& sink_;
    VirtualInstrument* instrument_ = nullptr;
    bool initFails_ = false;
    std::array<std::uint8_t, 2> version_{1, 2};
    bool ready_ = false;
    bool epb_ = false;
    std::int32_t behaviour_ = 0;
    std::vector<Cycle> pending_;
    std::uint64_t droppedCycles_ = 0;
    std::uint64_t flushes_ = 0;
    bool recording_ = false;
    std::vector<UsbCall> calls_;
};

}  // namespace q745vi
