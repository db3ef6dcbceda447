#include "VirtualParallelPort.h"

#include <cstring>

namespace q745vi {

namespace {

// The port driver's I/O control codes.
constexpr std::uint32_t kIoPortAccess = 0xA028E400;
constexpr std::uint32_t kIoReadCalibration = 0x9C40E458;
constexpr std::uint32_t kIoBlockWrite = 0x9C40E45E;
constexpr std::uint32_t kIoLoadConfiguration = 0x9C40E462;
constexpr std::uint32_t kIoPrepareEpp = 0x9C40E466;
constexpr std::uint32_t kIoDriverVersion = 0x9C40E46A;
constexpr std::uint32_t kDirectionWrite = 0x900;
constexpr std::uint32_t kDirectionRead = 0x800;

std::uint32_t u32At(const void* buffer, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, static_cast<const std::uint8_t*>(buffer) + offset, 4);
    return value;
}

}  // namespace

VirtualParallelPort::VirtualParallelPort(EventSink& sink) : sink_(sink) {}

void VirtualParallelPort::emit(InstrumentEvent event) {
    event.source = "parallel";
    sink_.record(std::move(event));
}

bool VirtualParallelPort::open() {
    if (openFails_) return false;
    ++openHandles_;
    return true;
}

void VirtualParallelPort::close() {
    if (openHandles_ > 0) --openHandles_;
}

VirtualInstrument* VirtualParallelPort::selectedInstrument() const {
    for (VirtualInstrument* instrument : instruments_) {
        if (instrument->selected()) return instrument;
    }
    return nullptr;
}

void VirtualParallelPort::note(PortCycle cycle, bool endsSequence) {
    ++accesses_;
    if (recording_) cycles_.push_back(cycle);
    if (monitor_ != nullptr && monitor_->access(endsSequence)) {
        InstrumentEvent event(EventKind::Interleaving);
        event.value = monitor_->interleavings();
        emit(std::move(event));
    }
}

bool VirtualParallelPort::ioControl(std::uint32_t code, const void* in, std::uint32_t inSize,
                                    void* out, std::uint32_t outSize,
                                    std::uint32_t* bytesReturned) {
    if (bytesReturned != nullptr) *bytesReturned = 0;
    switch (code) {
        case kIoPortAccess: {
            if (in == nullptr || inSize < 8) return false;
            const std::uint32_t direction = u32At(in, 0);
            const std::uint32_t offset = u32At(in, 4);
            if (direction == kDirectionWrite && inSize == 12) {
                const std::uint8_t value = static_cast<const std::uint8_t*>(in)[8];
                note({PortCycle::Kind::Write, offset, value}, false);
                portWrite(offset, value);
                return true;
            }
            if (direction == kDirectionRead && inSize == 8 && out != nullptr && outSize >= 1) {
                const std::uint8_t value = portRead(offset);
                note({PortCycle::Kind::Read, offset, value}, offset == 1);
                *static_cast<std::uint8_t*>(out) = value;
                if (bytesReturned != nullptr) *bytesReturned = 1;
                return true;
            }
            return false;
        }
        case kIoReadCalibration: {
            if (in == nullptr || inSize != 8 || out == nullptr || outSize < 2) return false;
            const std::uint32_t address = u32At(in, 0);
            VirtualInstrument* instrument = busReady() ? selectedInstrument() : nullptr;
            const std::uint16_t word =
                instrument != nullptr ? instrument->readCalibrationWord(address) : 0xFFFF;
            note({PortCycle::Kind::CalibrationRead, address, word}, false);
            std::memcpy(out, &word, 2);
            if (bytesReturned != nullptr) *bytesReturned = 2;
            return true;
        }
        case kIoBlockWrite:
        case kIoLoadConfiguration: {
            if (out == nullptr && outSize > 0) return false;
            const bool block = code == kIoBlockWrite;
            note({block ? PortCycle::Kind::Block : PortCycle::Kind::Configuration, 0, 0, outSize},
                 false);
            VirtualInstrument* instrument = busReady() ? selectedInstrument() : nullptr;
            if (instrument == nullptr || outSize == 0) return true;
            const auto* bytes = static_cast<const std::uint8_t*>(out);
            if (block)
                instrument->writeBlock(bytes, outSize);
            else
                instrument->loadConfiguration(bytes, outSize);
            return true;
        }
        case kIoPrepareEpp:
            note({PortCycle::Kind::PrepareEpp}, false);
            prepared_ = true;
            return true;
        case kIoDriverVersion: {
            if (recording_) cycles_.push_back({PortCycle::Kind::Version});
            if (versionFails_ || out == nullptr || outSize < 2) return false;
            std::memcpy(out, version_.data(), 2);
            if (bytesReturned != nullptr) *bytesReturned = 2;
            return true;
        }
        default:
            return false;
    }
}

void VirtualParallelPort::portWrite(std::uint32_t offset, std::uint8_t value) {
    switch (offset) {
        case 0:
            data_ = value;
            break;
        case 1:
            break;  // writing status only clears the port's EPP timeout flag
        case 2:
            writeControl(value);
            break;
        case 3:
            if (!busReady()) break;
            for (VirtualInstrument* instrument : instruments_)
                instrument->addressCycle(value);
            break;
        case 4:
            if (!busReady()) break;
            if (VirtualInstrument* instrument = selectedInstrument()) instrument->writeData(value);
            break;
        default:
            break;
    }
}

std::uint8_t VirtualParallelPort::portRead(std::uint32_t offset) {
    switch (offset) {
        case 0:
            return data_;
        case 1:
            return status_;
        case 2:
            return control_;
        case 4: {
            VirtualInstrument* instrument = busReady() ? selectedInstrument() : nullptr;
            return instrument != nullptr ? instrument->readData(mode_) : 0xFF;
        }
        default:
            return 0xFF;
    }
}

void VirtualParallelPort::writeControl(std::uint8_t value) {
    const bool wasHigh = (control_ & 1) != 0;
    const bool high = (value & 1) != 0;
    control_ = value;
    if (high && !wasHigh) strobeRaisedAt_ = Clock::now();
    if (!wasHigh || high) return;

    const auto width =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - strobeRaisedAt_)
            .count();
    if (width < 2000) {
        ++timingViolations_;
        InstrumentEvent event(EventKind::TimingViolation);
        event.detail = "port hand-over strobe";
        event.value = width;
        emit(std::move(event));
    }
    if (data_ != 0xFE && data_ != 0xFF && data_ != 0x7F) return;
    connected_ = data_ != 0xFE;
    if (connected_) mode_ = data_ == 0xFF ? 1 : 0;
    InstrumentEvent event(EventKind::PortMode);
    event.value = connected_ ? 1 : 0;
    event.address = mode_;
    emit(std::move(event));
}

LogJson VirtualParallelPort::stateJson() const {
    const std::string version = std::to_string(version_[0]) + "." + std::to_string(version_[1]);
    return {{"driverVersion", version},
            {"openHandles", openHandles_},
            {"eppPrepared", prepared_},
            {"instrumentHoldsPort", connected_},
            {"mode", mode_},
            {"data", data_},
            {"control", control_},
            {"accesses", accesses_},
            {"timingViolations", timingViolations_}};
}

}  // namespace q745vi
