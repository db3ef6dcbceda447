#pragma once

// The output filter boxes of the main window as the automatic filter choice sees them.
// Filters: 0 "Low", 1 "High", 2 "Off"; channels: 0 = A, 1 = B.
class FilterChoice {
public:
    virtual ~FilterChoice() = default;
    // The item the channel's box shows.
    virtual int shownFilter(int channel) const = 0;
    // Shows filter in the channel's box and handles it as the operator's choice (which sets the
    // filter through the generator model).
    virtual void chooseFilter(int channel, int filter) = 0;
};
