#include "digital/DigitalStepper.h"

#include "core/UserMessages.h"
#include "digital/MacroExpansion.h"
#include "digital/MacroValueFiles.h"
#include "digital/ProgressScope.h"
#include "digital/StepCount.h"

namespace {

// One step operation: the value files are open while it runs, and on every way out (a "No" to a
// value file question, "Break", "Waveform too long") they are closed and the owner is told.
class StepOperation {
public:
    StepOperation(MacroQueue* queue, const std::function<void()>& finished)
        : queue_(queue), finished_(finished) {}
    StepOperation(const StepOperation&) = delete;
    StepOperation& operator=(const StepOperation&) = delete;
    ~StepOperation() {
        if (queue_) closeValueFiles(*queue_);
        if (finished_) finished_();
    }
    // False when the operator chose not to run with a missing or short value file.
    bool start(UserMessages& messages) { return !queue_ || openValueFiles(*queue_, messages); }

private:
    MacroQueue* queue_;
    const std::function<void()>& finished_;
};

}  // namespace

DigitalStepper::DigitalStepper(TDigitalWave& wave, MacroQueue* queue, std::int32_t& cursor,
                               UserMessages& messages, ProgressReporter& progress,
                               MacroValueDialog* valueDialog)
    : wave_(wave),
      queue_(queue),
      cursor_(cursor),
      messages_(messages),
      progress_(progress),
      valueDialog_(valueDialog) {}

bool DigitalStepper::appendStep() {
    if (!canAppend()) return false;
    const std::int32_t step = wave_.length();
    setWaveLength(wave_, step + 1);
    if (step > 0) {
        wave_.word(step) = wave_.word(step - 1);
        if (events.onStepCopied) events.onStepCopied(step - 1);
    } else {
        wave_.word(step) = 0;
    }
    advanceClocks(wave_, step);
    const bool dialogShown = queue_ && expandStep(wave_, *queue_, step, valueDialog_);
    cursor_ = step;
    if (onStepAppended) onStepAppended();
    return dialogShown;
}

DigitalStepper::Advance DigitalStepper::advance() {
    if (wave_.length() > 0 && cursor_ < wave_.length() - 1) {
        cursor_ = cursor_ < 0 ? 0 : cursor_ + 1;
        return {true, false};
    }
    if (!canAppend()) return {false, false};
    const bool dialogShown = appendStep();
    return {true, dialogShown};
}

void DigitalStepper::stepForward() {
    StepOperation operation(queue_, onQueueChanged);
    if (operation.start(messages_)) advance();
}

void DigitalStepper::takeSteps(std::string_view countText, double tickFrequency) {
    takeSteps(parseStepCount(countText, tickFrequency));
}

void DigitalStepper::takeSteps(std::int32_t count) {
    if (count <= 0) return;
    StepOperation operation(queue_, onQueueChanged);
    if (!operation.start(messages_)) return;
    ProgressScope progress(progress_, count);
    for (std::int64_t done = 1; done <= count; ++done) {
        if (!advance().progressed) break;
        if (!progress.reached(done)) break;
    }
}

void DigitalStepper::finishMacroQueue() {
    StepOperation operation(queue_, onQueueChanged);
    if (!operation.start(messages_) || !queue_) return;
    ProgressScope progress(progress_, estimateFinishSteps(*queue_, wave_));
    std::int64_t done = 0;
    while (!queue_->empty()) {
        // Without signals nothing can be appended, and the queue would never empty.
        const Advance step = advance();
        if (!step.progressed) break;
        if (step.dialogShown) {
            progress.restart(estimateFinishSteps(*queue_, wave_) + 1);
            done = 0;
        }
        if (!progress.reached(++done)) break;
    }
}
