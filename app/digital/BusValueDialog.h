#pragma once

#include <optional>
#include <string>

// "Enter bus value": asked when the operator clicks a bus at the cursor. The application shows
// its dialog; tests answer from a script.
class BusValueDialog {
public:
    virtual ~BusValueDialog() = default;
    // The typed text on "Ok", nothing on "Cancel". valueText is the current value in upper-case
    // hexadecimal of at least two digits.
    virtual std::optional<std::string> askBusValue(const std::string& valueText) = 0;
};
