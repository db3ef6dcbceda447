#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "digital/DigitalMacro.h"
#include "digital/StepEvents.h"

class MacroValueDialog;
class ProgressReporter;
class UserMessages;

// The step operations of an edited wave ("One step", "Step", "Finish macro queue"): moving the
// cursor over the existing steps and appending new ones, which clocks and running macros fill.
// The digital wave editor gives it the running queue; the macro editor has none, so its appended
// steps get only clock levels.
class DigitalStepper {
public:
    // cursor: the display's step cursor (-1 for an empty wave), moved by the operations.
    // queue and valueDialog may be absent.
    DigitalStepper(TDigitalWave& wave, MacroQueue* queue, std::int32_t& cursor,
                   UserMessages& messages, ProgressReporter& progress,
                   MacroValueDialog* valueDialog);

    StepEvents events;
    // After a step was appended: the display moves its first visible step one step right.
    std::function<void()> onStepAppended;
    // After every step operation, whatever its result: show the wave and refresh the queue list.
    std::function<void()> onQueueChanged;

    // Appends one step (a copy of the last one, the first one 0), writes the clock levels and
    // expands the running macros into it; the cursor moves to it. Nothing without signals.
    // Raises "Waveform too long" beyond 262144 steps. True when the value dialog was shown.
    bool appendStep();

    // "One step": the cursor moves one step right, or a step is appended at the end.
    void stepForward();
    // "Step": countText steps forward (see parseStepCount), with progress and "Break".
    void takeSteps(std::string_view countText, double tickFrequency);
    void takeSteps(std::int32_t count);
    // "Finish macro queue": steps forward until the queue is empty, with progress and "Break".
    void finishMacroQueue();

private:
    struct Advance {
        bool progressed;   // the cursor moved or a step was appended
        bool dialogShown;  // the value dialog was shown for the appended step
    };
    // Moves the cursor one step right, or appends a step at the end.
    Advance advance();
    bool canAppend() const { return wave_.signalCount > 0; }

    TDigitalWave& wave_;
    MacroQueue* queue_;
    std::int32_t& cursor_;
    UserMessages& messages_;
    ProgressReporter& progress_;
    MacroValueDialog* valueDialog_;
};
