#include "VirtualUsbInterface.h"

namespace q745vi {

void VirtualUsbInterface::attach(VirtualInstrument* instrument) {
    instrument_ = instrument;
    pending_.clear();
    ready_ = false;
    epb_ = false;
}

void VirtualUsbInterface::note(UsbCall call) {
    if (recording_) calls_.push_back(call);
}

VirtualInstrument* VirtualUsbInterface::selected() const {
    if (instrument_ == nullptr || !ready_ || !epb_ || !instrument_->selected()) return nullptr;
    return instrument_;
}

void VirtualUsbInterface::deliver() {
    for (const Cycle& cycle : pending_) {
        if (cycle.address)
            instrument_->addressCycle(cycle.value);
        else if (instrument_->selected())
            instrument_->writeData(cycle.value);
    }
    pending_.clear();
}

std::int32_t VirtualUsbInterface::initDevice() {
    note({UsbCall::Kind::InitDevice});
    pending_.clear();
    ready_ = instrument_ != nullptr && !initFails_;
    epb_ = false;
    return ready_ ? 0 : 1;
}

void VirtualUsbInterface::flushBuffer() {
    note({UsbCall::Kind::FlushBuffer});
    ++flushes_;
    deliver();
}

void VirtualUsbInterface::writeAddress(std::uint8_t address) {
    note({UsbCall::Kind::WriteAddress, address});
    if (ready_ && epb_)
        pending_.push_back({true, address});
    else
        ++droppedCycles_;
}

void VirtualUsbInterface::writeData(std::uint8_t value) {
    note({UsbCall::Kind::WriteData, value});
    if (ready_ && epb_)
        pending_.push_back({false, value});
    else
        ++droppedCycles_;
}

void VirtualUsbInterface::setEpb() {
    note({UsbCall::Kind::SetEpb});
    if (ready_) epb_ = true;
}

std::uint8_t VirtualUsbInterface::readData() {
    deliver();
    VirtualInstrument* instrument = selected();
    const std::uint8_t value = instrument != nullptr ? instrument->readData(-1) : 0xFF;
    note({UsbCall::Kind::ReadData, value});
    return value;
}

void VirtualUsbInterface::writeBuffer(const std::uint8_t* data, std::int32_t count) {
    note({UsbCall::Kind::WriteBuffer, 0, static_cast<std::uint32_t>(count)});
    deliver();
    if (VirtualInstrument* instrument = selected(); instrument != nullptr && data && count > 0)
        instrument->writeBlock(data, static_cast<std::size_t>(count));
}

void VirtualUsbInterface::loadFpga(const std::uint8_t* data, std::int32_t count) {
    note({UsbCall::Kind::LoadFpga, 0, static_cast<std::uint32_t>(count)});
    deliver();
    if (VirtualInstrument* instrument = selected(); instrument != nullptr && data && count > 0)
        instrument->loadConfiguration(data, static_cast<std::size_t>(count));
}

void VirtualUsbInterface::readFromEeprom(std::uint16_t address, std::uint16_t* word) {
    note({UsbCall::Kind::ReadFromEeprom, address});
    deliver();
    VirtualInstrument* instrument = selected();
    if (word != nullptr)
        *word = instrument != nullptr ? instrument->readCalibrationWord(address) : 0xFFFF;
}

void VirtualUsbInterface::setDllBehaviour(std::int32_t value) {
    note({UsbCall::Kind::SetDllBehaviour, static_cast<std::uint32_t>(value)});
    behaviour_ = value;
}

void VirtualUsbInterface::driverVersion(std::uint8_t* version) {
    note({UsbCall::Kind::DriverVersion});
    if (version == nullptr) return;
    version[0] = version_[0];
    version[1] = version_[1];
}

void VirtualUsbInterface::libraryUnloaded() {
    pending_.clear();
    ready_ = false;
    epb_ = false;
}

LogJson VirtualUsbInterface::stateJson() const {
    const std::string version = std::to_string(version_[0]) + "." + std::to_string(version_[1]);
    return {{"libraryVersion", version},
            {"instrumentAttached", instrument_ != nullptr},
            {"ready", ready_},
            {"epp", epb_},
            {"dllBehaviour", behaviour_},
            {"pendingCycles", pending_.size()},
            {"droppedCycles", droppedCycles_},
            {"flushes", flushes_}};
}

}  // namespace q745vi
