#include "digital/WaveSteps.h"

#include <algorithm>

#include "core/UserError.h"
#include "digital/ProgressScope.h"
#include "digital/StepCount.h"

namespace {

using StepOperation = bool (*)(TDigitalWave&, std::int32_t&, const StepEvents&);

void repeatSteps(StepOperation operation, TDigitalWave& wave, std::int32_t& cursor,
                 const StepEvents& events, std::string_view countText, double tickFrequency,
                 ProgressReporter& progress) {
    const std::int32_t count = parseStepCount(countText, tickFrequency);
    if (count <= 0) return;
    ProgressScope scope(progress, count);
    for (std::int64_t done = 1; done <= count; ++done) {
        if (!operation(wave, cursor, events)) break;
        if (!scope.reached(done)) break;
    }
}

}  // namespace

bool insertStep(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events) {
    if (wave.signalCount <= 0) return false;
    const std::int32_t length = wave.length();
    // The limit is checked first, so that the owner never hears of a step that is not inserted.
    if (length >= kMaxWaveLength) throw UserError("Waveform too long");
    if (length == 0) {
        setWaveLength(wave, 1);
        wave.word(0) = 0;
        cursor = 0;
        return true;
    }
    const std::int32_t at = std::clamp(cursor, 0, length - 1);
    if (events.onStepsShifted) events.onStepsShifted(at, +1);
    setWaveLength(wave, length + 1);
    const auto words = wave.words();
    std::copy_backward(words.begin() + at, words.begin() + length, words.end());
    if (events.onStepCopied) events.onStepCopied(at);
    cursor = std::min(at + 1, wave.length() - 1);
    return true;
}

bool deleteStep(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events) {
    const std::int32_t length = wave.length();
    if (wave.signalCount <= 0 || length == 0) return false;
    const std::int32_t at = std::clamp(cursor, 0, length - 1);
    if (events.onStepsShifted) events.onStepsShifted(at, -1);
    const auto words = wave.words();
    std::copy(words.begin() + at + 1, words.end(), words.begin() + at);
    setWaveLength(wave, length - 1);
    cursor = std::min(at, wave.length() - 1);
    return true;
}

void insertSteps(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events,
                 std::string_view countText, double tickFrequency, ProgressReporter& progress) {
    repeatSteps(insertStep, wave, cursor, events, countText, tickFrequency, progress);
}

void deleteSteps(TDigitalWave& wave, std::int32_t& cursor, const StepEvents& events,
                 std::string_view countText, double tickFrequency, ProgressReporter& progress) {
    repeatSteps(deleteStep, wave, cursor, events, countText, tickFrequency, progress);
}
