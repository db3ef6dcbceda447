#pragma once

#include <memory>

#include "PortDriver.h"

namespace q745drv {

// The parallel-port driver as a library loaded at run time: name or path from
// Q745_PORT_DRIVER, default "libkelvoepb.so". Each open() loads it again if needed, so that a
// driver installed meanwhile is found by the next call.
class DynamicPortDriverProvider : public PortDriverProvider {
public:
    std::unique_ptr<PortDriver> open() override;
};

}  // namespace q745drv
