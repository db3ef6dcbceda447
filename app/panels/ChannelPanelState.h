#pragma once

#include <cstdint>

// The values a channel panel holds beyond its controls and the generator model: the level in
// millivolts (peak-to-peak) that reads as 0 dB, and the load it shows.
struct ChannelPanelState {
    // 8400 mV: the full-scale level of level code 2048 with an open output.
    double dbReference = 8400;
    std::int32_t load = -1;  // ohms, -1 open
};
