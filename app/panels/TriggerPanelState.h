#pragma once

// The five switches of the trigger and sync panel, with their values at creation; the saved
// settings replace them before the panel first applies them.
struct TriggerPanelState {
    bool triggerOn = true;
    bool leadingEdge = true;
    bool running = false;  // "Go" while the external trigger is off
    bool syncOut = false;
    bool single = false;
};
