#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "Enter value for macro": asked by the expansion at the start of a cycle of a running entry
// whose value source is "ask". The application shows its dialog; tests and tools answer from a
// script.
struct MacroValueRequest {
    int entry = 0;  // index of the entry in the running queue (the display highlights it)
    std::string macroName;
    std::int32_t cycleNumber = 1;  // 1 for the first cycle
    std::string description;       // the caption of the value field
    std::string valueText;         // the current value, upper-case hexadecimal
};

struct MacroValueAnswer {
    std::uint32_t value = 0;  // the typed hexadecimal value
    // The entry's value source from now on: "Ok" 0 (ask again), "Finish" 1 (keep),
    // "Finish -1" 2 (count down), "Finish +1" 3 (count up).
    std::uint8_t valueSource = 0;
};

class MacroValueDialog {
public:
    virtual ~MacroValueDialog() = default;
    // Nothing when the operator chose "Abort". The dialog itself refuses text that is not
    // hexadecimal ("Incorrect hexadecimal number") and stays open.
    virtual std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) = 0;
};
