// The virtual bench's decoded state, exported by both stand-ins.
#include <string>

#include "VirtualBench.h"

namespace {

const char* stateText(bool withPoints) {
    static std::string text;
    try {
        text = q745vi::VirtualBench::process().stateJson(withPoints);
    } catch (...) {
        text = "{}";
    }
    return text.c_str();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* Q745VirtualInstrumentState(void) {
    return stateText(false);
}

extern "C" __attribute__((visibility("default"))) const char* Q745VirtualInstrumentStateWithPoints(
    void) {
    return stateText(true);
}
