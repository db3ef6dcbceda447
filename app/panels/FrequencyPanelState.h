#pragma once

#include <algorithm>

// The values a frequency panel holds for the settings: the frequency in the program (red
// marker) and the frequency last sent to the device (green marker), in hertz. The frequency
// panel of its mode keeps them; the settings read and write them here.
struct FrequencyPanelState {
    double minFrequency = 0;
    double maxFrequency = 0;
    double programFrequency = 589824;
    double deviceFrequency = 589824;

    // What the panel sends: the device frequency held within the panel's range.
    double sendableFrequency() const {
        return std::clamp(deviceFrequency, minFrequency, maxFrequency);
    }

    // Both frequencies become f; -1 (nothing stored) is ignored. True when f lies within the
    // panel's range.
    bool setFrequency(double f) {
        if (f == -1) return false;
        programFrequency = f;
        deviceFrequency = f;
        return f >= minFrequency && f <= maxFrequency;
    }
};
