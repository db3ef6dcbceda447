#pragma once

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "q745drv.h"

// The library loads the stand-ins of the port driver and the USB library by name; they are
// named here by their full path beside the library, because a sanitizer's dlopen interceptor
// searches from its own location, not from the library's.
inline void useStandInsBesideTheLibrary() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&InitHardware), &info) == 0 || info.dli_fname == nullptr)
        return;
    const std::filesystem::path folder = std::filesystem::path(info.dli_fname).parent_path();
    ::setenv("Q745_PORT_DRIVER", (folder / "libkelvoepb.so").c_str(), 0);
    ::setenv("Q745_USB_LIBRARY", (folder / "libkelvousb.so").c_str(), 0);
}
