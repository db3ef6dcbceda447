#pragma once

#include <cstdint>

#include "RegisterAccess.h"

namespace q745drv {

// Trigger and sync pulse output (register 10), run control (register 12) and the digital
// outputs (register 8 bits 4 and 7, register 1). Trigger changes are made with the generator
// stopped for the change. Every operation takes the device lock and returns the release result.
class TriggerOutputs {
public:
    explicit TriggerOutputs(RegisterAccess& registers) : registers_(registers) {}

    std::int32_t setGeneratorOn(std::int32_t on);
    // bit 0: 0 single, 1 periodic.
    std::int32_t setTriggerMode(std::int32_t mode);
    // bit 0: 0 leading, 1 trailing edge.
    std::int32_t setTriggerEdge(std::int32_t edge);
    // 0 the external trigger, 3 the sync pulse output, -1 neither (bits 0 and 3 of register 10).
    std::int32_t setExternalTriggerUse(std::int32_t source);
    std::int32_t setDigitalOutputOn(std::int32_t on);
    // bit 0: 0 "3.3V", 1 "5V".
    std::int32_t setDigitalVoltage(std::int32_t voltage);

private:
    std::int32_t changeTriggerBit(int bit, std::int32_t value);

    RegisterAccess& registers_;
};

}  // namespace q745drv
