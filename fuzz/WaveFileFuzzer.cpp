// ".gdw": a digital wave with its running macros, then the expansion of those macros into
// appended steps as "Step" and "Finish macro queue" run it.
#include "FuzzCheck.h"
#include "core/ProgressReporter.h"
#include "core/UserMessages.h"
#include "digital/DigitalStepper.h"
#include "digital/MacroValueDialog.h"
#include "digital/WaveFile.h"

namespace {

std::vector<std::uint8_t> rewriteWaveFile(std::span<const std::uint8_t> content) {
    TDigitalWave wave;
    MacroQueue running;
    decodeWaveFile(content, wave, running);
    return encodeWaveFile(wave, running);
}

// Every question is answered Yes, so that the expansion goes on.
class AnsweringYes final : public UserMessages {
public:
    MessageResult messageBox(const std::string&, MessageKind, MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Yes;
    }
};

// Asked values alternate between a typed value and "Abort".
class AlternatingValues final : public MacroValueDialog {
public:
    std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) override {
        if (++asked_ % 2 == 0) return std::nullopt;
        return MacroValueAnswer{static_cast<std::uint32_t>(request.cycleNumber),
                                static_cast<std::uint8_t>(asked_ % 5)};
    }

private:
    int asked_ = 0;
};

constexpr std::int32_t kStepsToTake = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDigitalWave wave;
    MacroQueue running;
    try {
        decodeWaveFile({data, size}, wave, running);
    } catch (const InvalidFile&) {
        return 0;
    }
    checkWrittenFileReadsBack(encodeWaveFile(wave, running), rewriteWaveFile);

    // Value files named by a file are outside the input: such entries meet a missing file.
    for (TDigitalMacro& entry : running)
        if (entry.valueSource == kValueFromFile) entry.description.clear();
    const std::int32_t length = wave.length();
    std::int32_t cursor = length - 1;
    AnsweringYes messages;
    SilentProgress progress;
    AlternatingValues dialog;
    DigitalStepper stepper(wave, &running, cursor, messages, progress, &dialog);
    try {
        stepper.takeSteps(kStepsToTake);
    } catch (const UserError&) {
        // "Waveform too long": the operation ends there.
        FUZZ_CHECK(wave.length() == kMaxWaveLength);
        return 0;
    }
    FUZZ_CHECK(wave.signalCount == 0 || wave.length() == length + kStepsToTake);
    FUZZ_CHECK(cursor == wave.length() - 1);
    return 0;
}
