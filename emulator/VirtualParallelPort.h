#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "InstrumentEvent.h"
#include "LogJson.h"
#include "SharedBusMonitor.h"
#include "VirtualInstrument.h"

namespace q745vi {

// One operation of the port driver, as recorded for tests.
struct PortCycle {
    enum class Kind { Write, Read, PrepareEpp, Block, Configuration, CalibrationRead, Version };
    Kind kind;
    std::uint32_t offset = 0;  // port offset of a write or read; the word address of a read
    std::uint32_t value = 0;   // byte written or read; calibration word
    std::uint32_t length = 0;  // block and configuration bytes
    bool operator==(const PortCycle&) const = default;
};

// The parallel port with its kernel driver, and the instruments on its EPP bus. It takes the
// driver's I/O control operations (codes and buffers as the driver library sends them):
// port writes and reads at offsets 0-4 (data, status, control, EPP address, EPP data), the
// calibration read, block write, configuration load, EPP preparation and the driver version.
// The instruments take the port when a strobe pulse of at least 2 ms (control bit 0 high, then
// low) latches the data byte 0xFF (port mode 1) or 0x7F (port mode 0), and let go on 0xFE
// (the port is then a printer's). EPP cycles reach them only while they hold the port.
class VirtualParallelPort {
public:
    explicit VirtualParallelPort(EventSink& sink);

    void attach(VirtualInstrument& instrument) { instruments_.push_back(&instrument); }
    void detachAll() { instruments_.clear(); }
    void setMonitor(SharedBusMonitor* monitor) { monitor_ = monitor; }

    // The driver's device; open fails while openFails is set (no driver installed).
    bool open();
    void close();
    int openHandles() const { return openHandles_; }
    bool ioControl(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                   std::uint32_t outSize, std::uint32_t* bytesReturned);

    // Faults and settings.
    void setOpenFails(bool fails) { openFails_ = fails; }
    void setDriverVersion(std::uint8_t major, std::uint8_t minor) { version_ = {major, minor}; }
    void setVersionCallFails(bool fails) { versionFails_ = fails; }

    bool connected() const { return connected_; }
    int mode() const { return mode_; }
    std::uint8_t control() const { return control_; }
    std::uint8_t data() const { return data_; }
    std::uint64_t timingViolations() const { return timingViolations_; }

    void setRecording(bool on) { recording_ = on; }
    const std::vector<PortCycle>& cycles() const { return cycles_; }
    void clearCycles() { cycles_.clear(); }

    LogJson stateJson() const;

private:
    using Clock = std::chrono::steady_clock;

    void portWrite(std::uint32_t offset, std::uint8_t value);
    std::uint8_t portRead(std::uint32_t offset);
    void writeControl(std::uint8_t value);
    VirtualInstrument* selectedInstrument() const;
    bool busReady() const { return prepared_ && connected_; }
    void note(PortCycle cycle, bool endsSequence);
    void emit(InstrumentEvent event);

    EventSink& sink_;
    std::vector<VirtualInstrument*> instruments_;
    SharedBusMonitor* monitor_ = nullptr;

    int openHandles_ = 0;
    bool openFails_ = false;
    bool versionFails_ = false;
    std::array<std::uint8_t, 2> version_{2, 3};

    std::uint8_t data_ = 0x00;
    std::uint8_t status_ = 0x78;
    std::uint8_t control_ = 0x0C;
    bool prepared_ = false;
    bool connected_ = false;
    int mode_ = 0;
    Clock::time_point strobeRaisedAt_{};
    std::uint64_t accesses_ = 0;
    std::uint64_t timingViolations_ = 0;

    bool recording_ = false;
    std::vector<PortCycle> cycles_;
};

}  // namespace q745vi
