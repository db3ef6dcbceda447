#include "core/AppState.h"

void AppState::selectPortName(bool allowUsb) {
    switch (portAddress) {
        case 0x378:
            portName = "LPT1:";
            break;
        case 0x278:
            portName = "LPT2:";
            break;
        case 0x3F8:
            portName = "LPT3:";
            break;
        case 0x2F8:
            portName = "LPT4:";
            break;
        default:
            break;
    }
    if (allowUsb && useUsb) portName = UsbPortName;
}
