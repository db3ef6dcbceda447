#pragma once

// The operating modes. Single bits, because each group box of the main window carries the
// mask of the modes in which it is shown.
inline constexpr int ModeAnalog = 1;
inline constexpr int ModeDigital = 2;
inline constexpr int ModeImport = 4;

// Where the device layer reads the mode in force (the application state). An operation
// concerns the mode current at the moment of the call, which start-up switches temporarily.
class CurrentModeSource {
public:
    virtual ~CurrentModeSource() = default;
    virtual int currentMode() const = 0;
};
