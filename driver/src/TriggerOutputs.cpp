#include "TriggerOutputs.h"

namespace q745drv {

namespace {

constexpr int kModeBit = 2;
constexpr int kEdgeBit = 1;
constexpr int kExternalTriggerBit = 0;
constexpr int kSyncOutputBit = 3;
constexpr int kDigitalOutputsBit = 4;
constexpr int kDigitalVoltageBit = 7;

}  // namespace

std::int32_t TriggerOutputs::setGeneratorOn(std::int32_t on) {
    registers_.acquireDevice();
    registers_.state().runBits = on == 1 ? 0x80 : 0x00;
    registers_.resumeRun();
    return registers_.releaseDevice();
}

std::int32_t TriggerOutputs::changeTriggerBit(int bit, std::int32_t value) {
    registers_.acquireDevice();
    registers_.writeRegister(kRunControl, 0x00);
    registers_.setShadowBit(kTrigger, bit, value & 1);
    registers_.refreshRegister(kTrigger);
    registers_.resumeRun();
    return registers_.releaseDevice();
}

std::int32_t TriggerOutputs::setTriggerMode(std::int32_t mode) {
    return changeTriggerBit(kModeBit, mode);
}

std::int32_t TriggerOutputs::setTriggerEdge(std::int32_t edge) {
    return changeTriggerBit(kEdgeBit, edge);
}

std::int32_t TriggerOutputs::setExternalTriggerUse(std::int32_t source) {
    registers_.acquireDevice();
    registers_.writeRegister(kRunControl, 0x00);
    registers_.setShadowBit(kTrigger, kSyncOutputBit, 0);
    registers_.setShadowBit(kTrigger, kExternalTriggerBit, 0);
    // Only bit numbers of the register count; -1 (and anything outside 0..7) sets nothing.
    if (source >= 0 && source < 8) registers_.setShadowBit(kTrigger, source, 1);
    registers_.refreshRegister(kTrigger);
    registers_.resumeRun();
    return registers_.releaseDevice();
}

std::int32_t TriggerOutputs::setDigitalOutputOn(std::int32_t on) {
    registers_.acquireDevice();
    registers_.setShadowBit(kChannelControl, kDigitalOutputsBit, on & 1);
    registers_.refreshRegister(kChannelControl);
    // Register 1: 0 enables the digital output drivers, 4 disables them.
    registers_.writeRegister(kSerialSwitch, on == 1 ? 0 : 4);
    return registers_.releaseDevice();
}

std::int32_t TriggerOutputs::setDigitalVoltage(std::int32_t voltage) {
    registers_.acquireDevice();
    registers_.setShadowBit(kChannelControl, kDigitalVoltageBit, voltage & 1);
    registers_.refreshRegister(kChannelControl);
    return registers_.releaseDevice();
}

}  // namespace q745drv
