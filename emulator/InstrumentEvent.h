#pragma once

#include <cstdint>
#include <string>

namespace q745vi {

// What the virtual bench decodes from the bus, one event per cycle or bus operation.
enum class EventKind {
    Write,               // register, value (ignored: the logic is not configured)
    Identification,      // value: the model ID read
    ConfigurationStart,  // value: 0x24 or 0xA4
    Configuration,       // length, value 1 when the logic reports a loaded configuration
    CalibrationRead,     // address, value: the word
    Dac,                 // dac, value: the 12-bit code
    Switch,              // value: the output switch image
    Block,               // register, length, checksum of the bytes
    PortMode,            // value: 1 connected, 0 released to a printer; address: port mode
    TimingViolation,     // detail: which wait was too short; value: the time in microseconds
    ProtocolError,       // detail: what the instrument could not decode
    Interleaving,        // a cycle of this process inside another process's register sequence
};

struct InstrumentEvent {
    explicit InstrumentEvent(EventKind eventKind) : kind(eventKind) {}

    EventKind kind;
    std::string source;             // "parallel:3", "usb:0", or "parallel" for the port itself
    std::int64_t microseconds = 0;  // since the bench was made
    int reg = -1;
    int address = -1;
    std::int64_t value = 0;
    std::int64_t length = 0;
    std::uint32_t checksum = 0;
    bool ignored = false;
    std::string detail;

    // One line of the event log.
    std::string toJson() const;
};

const char* eventName(EventKind kind);

// FNV-1a over a byte range: the checksum of block writes in events and state.
std::uint32_t fnv1a(const std::uint8_t* data, std::size_t count);

// Receives the decoded events of instruments, the port and the USB interface.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void record(InstrumentEvent event) = 0;
};

}  // namespace q745vi
