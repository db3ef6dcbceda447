#include "RegisterAccess.h"

namespace q745drv {

std::int32_t RegisterAccess::releaseDevice() {
    transport_.finishSequence();
    return lock_.release() ? 1 : 0;
}

void RegisterAccess::selectRegister(int reg) {
    transport_.portWrite(kPortEppAddress, static_cast<std::uint8_t>(reg + state_.deviceOffset));
}

void RegisterAccess::writeDataByte(int value) {
    transport_.portWrite(kPortEppData, static_cast<std::uint8_t>(value));
}

std::uint8_t RegisterAccess::readDataByte() {
    return transport_.portRead(kPortEppData);
}

void RegisterAccess::writeRegister(int reg, int value) {
    selectRegister(reg);
    writeDataByte(value);
    state_.shadow[reg] = static_cast<std::uint8_t>(value);
}

void RegisterAccess::refreshRegister(int reg) {
    selectRegister(reg);
    writeDataByte(state_.shadow[reg]);
}

void RegisterAccess::resumeRun() {
    writeRegister(kRunControl, state_.runBits | 0x40);
}

void RegisterAccess::setShadowBit(int reg, int bit, int value) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    if ((value & 1) != 0)
        state_.shadow[reg] |= mask;
    else
        state_.shadow[reg] &= static_cast<std::uint8_t>(~mask);
}

void RegisterAccess::writeEndAddress(std::uint32_t end) {
    state_.shadow[kEndAddressLow] = static_cast<std::uint8_t>(end & 0xFF);
    state_.shadow[kEndAddressHigh] = static_cast<std::uint8_t>((end >> 8) & 0xFF);
    setShadowBit(kEndAddressTop, 0, static_cast<int>((end >> 16) & 1));
    setShadowBit(kEndAddressTop, 1, static_cast<int>((end >> 17) & 1));
    refreshRegister(kEndAddressLow);
    refreshRegister(kEndAddressHigh);
    refreshRegister(kEndAddressTop);
}

void RegisterAccess::writeDac(int dac, std::int64_t code) {
    selectRegister(kSerialDac);
    writeDataByte(0x02);
    const auto word = static_cast<std::uint16_t>(((dac & 3) << 14) | (code & 0xFFF));
    for (int bit = 15; bit >= 0; --bit) {
        const int b = (word >> bit) & 1;
        writeDataByte(b | 0x02);  // clock high with the data bit
        writeDataByte(b);         // clock low: the DAC takes the bit
    }
    writeDataByte(0x0A);
}

void RegisterAccess::writeSwitchRegister(std::uint8_t image) {
    state_.shadow[kSwitchImage] = image;
    selectRegister(kSerialSwitch);
    for (int bit = 7; bit >= 0; --bit) {
        const int b = (image >> bit) & 1;
        writeDataByte(b * 2);      // data, clock low
        writeDataByte(b * 2 + 1);  // clock high: the register takes the bit
    }
    writeDataByte(0);
}

std::uint16_t RegisterAccess::readCalibrationWord(std::uint32_t address) {
    selectRegister(kSerialDac);
    return transport_.readCalibrationWord(address);
}

}  // namespace q745drv
