#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/OperatingMode.h"
#include "device/DeviceSettings.h"

// The process-wide state that the windows, panels and the device layer read: operating mode,
// communication and proxy settings, the channel waveform slots, the import-mode levels, start
// directory and version. One instance, owned by the program and handed to whoever needs it;
// read and written on the user-interface thread only.
//
// The communication fields (baseAddressIndex, portAddress, useUsb) are those of DeviceSettings,
// so the device layer works on this object directly.
class AppState : public DeviceSettings {
public:
    AppState() : modeSource_(*this) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    bool debugMode = false;
    std::string startDirectory;
    std::string updateListLocation;
    // major, minor, release, build
    std::array<std::uint16_t, 4> programVersion{};
    bool smallScreenMode = false;

    // 0 until the start-up sets the first mode; otherwise one of ModeAnalog, ModeDigital,
    // ModeImport.
    int currentMode = 0;
    int savedMode = 0;
    // The mode entered at the end of start-up ("Interface mode" of the settings).
    int startMode = ModeAnalog;
    // false until the full settings pass of the start-up is done: level and lock handling
    // does nothing before.
    bool settingsLoaded = false;
    bool appReady = false;

    bool useProxy = false;
    std::string proxyAddress;
    std::int32_t proxyPort = 0;

    // Slots (0..31) of the waveform store played on channels A and B in analog mode.
    int waveIndexA = 0;
    int waveIndexB = 0;
    // Level code and output state (0 off, 1 normal, 2 -20 dB) last set in import mode.
    int importLevelA = 2048;
    int importLevelB = 2048;
    int importOutputA = 1;
    int importOutputB = 1;

    // Print jobs queued on the instrument's port, and the spooler's name of that port ("LPT1:"
    // .. "LPT4:", "KELVOUSB").
    std::int32_t printerJobs = 0;
    std::string portName;

    bool dataViewOpen = false;

    // Switches the mode without touching the screen, so that settings reach the objects of a
    // mode that is not shown. One level only: a second pushMode before popMode loses the first
    // saved mode.
    void pushMode(int mode) {
        savedMode = currentMode;
        currentMode = mode;
    }
    void popMode() { currentMode = savedMode; }

    // portName from portAddress (an unknown address leaves it as it is); with allowUsb and
    // useUsb, the USB port name instead.
    void selectPortName(bool allowUsb);

    // The mode as the device layer reads it.
    const CurrentModeSource& modeSource() const { return modeSource_; }

private:
    class ModeSource final : public CurrentModeSource {
    public:
        explicit ModeSource(const AppState& state) : state_(state) {}
        int currentMode() const override { return state_.currentMode; }

    private:
        const AppState& state_;
    };

    ModeSource modeSource_;
};

// The spooler's name of the USB port of the instrument.
inline constexpr const char* UsbPortName = "KELVOUSB";
