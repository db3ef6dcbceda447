#pragma once

#include <memory>

#include "UsbLibrary.h"

namespace q745drv {

// The USB access library loaded at run time and bound by name: name or path from
// Q745_USB_LIBRARY, default "libkelvousb.so". GetDriverVersion is optional.
class DynamicUsbLibraryProvider : public UsbLibraryProvider {
public:
    std::unique_ptr<UsbLibrary> load() override;
};

}  // namespace q745drv
