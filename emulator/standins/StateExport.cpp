// Q745VirtualInstrumentState, exported by both stand-ins.
#include <string>

#include "VirtualBench.h"

extern "C" __attribute__((visibility("default"))) const char* Q745VirtualInstrumentState(void) {
    static std::string text;
    try {
        text = q745vi::VirtualBench::process().stateJson();
    } catch (...) {
        text = "{}";
    }
    return text.c_str();
}
