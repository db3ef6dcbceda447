#pragma once

#include <cstdint>
#include <filesystem>

namespace q745vi {

// Lets the virtual parallel ports of several processes stand for one physical port
// (Q745_VIRTUAL_INSTRUMENT_BUS=FILE): the file, mapped into each process, records which process
// is in the middle of a register sequence. A sequence runs from a process's first port access
// to its status read, which ends every locked sequence of the driver. An access by another
// process in between would mix two sequences on a real port; it is counted as an interleaving.
class SharedBusMonitor {
public:
    explicit SharedBusMonitor(const std::filesystem::path& file);
    ~SharedBusMonitor();
    SharedBusMonitor(const SharedBusMonitor&) = delete;
    SharedBusMonitor& operator=(const SharedBusMonitor&) = delete;

    bool valid() const { return shared_ != nullptr; }
    // One port access of this process; true when it interleaved with another's sequence.
    bool access(bool endsSequence);
    std::int64_t interleavings() const;
    std::int64_t accesses() const;

private:
    struct Shared {
        std::int32_t owner;  // process in the middle of a sequence, 0 for none
        std::int32_t reserved;
        std::int64_t interleavings;
        std::int64_t accesses;
    };
    Shared* shared_ = nullptr;
    std::int32_t self_;
};

}  // namespace q745vi
