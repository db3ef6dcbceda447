#include "Driver.h"

namespace q745drv {

Driver::Driver(std::unique_ptr<PortDriverProvider> portDrivers,
               std::unique_ptr<UsbLibraryProvider> usbLibraries, std::filesystem::path lockFile)
    : transport_(std::move(portDrivers), std::move(usbLibraries)),
      lock_(std::move(lockFile)),
      registers_(transport_, lock_, state_),
      initialisation_(registers_),
      frequency_(registers_),
      analog_(registers_),
      trigger_(registers_),
      upload_(registers_, analog_, frequency_) {}

std::uint16_t Driver::setPrinterBase(std::int32_t base) {
    state_.printerBase = static_cast<std::uint16_t>(base);
    return state_.printerBase;
}

std::int32_t Driver::setEpbOn(std::int32_t on) {
    registers_.acquireDevice();
    if (on == 1)
        transport_.enterEppMode(false);
    else
        transport_.leaveEppMode();
    return registers_.releaseDevice();
}

}  // namespace q745drv
