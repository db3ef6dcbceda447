#include "digital/MacroExpansion.h"

#include <algorithm>
#include <array>

#include "digital/HexText.h"
#include "digital/MacroValueDialog.h"

namespace {

// Whether an entry can play its next template step. A stored queue entry with an empty template
// or a position outside it cannot, and leaves the queue without writing anything.
bool canPlay(const TDigitalMacro& entry) {
    // Compared without adding to a stored position, which may be the largest 32-bit number.
    return entry.position >= -1 && entry.position < entry.wave.length() - 1;
}

std::int32_t wrapped(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The cycle's value from the value file: valueWidth + 1 bytes, least significant first, over
// the upper bytes of `value`; 0 when the file ends before the cycle's value.
std::uint32_t valueFromFile(TDigitalMacro& entry) {
    const int byteCount = entry.valueWidth + 1;
    const std::int64_t position =
        entry.fileOffset + (static_cast<std::int64_t>(entry.cycles) - entry.remaining) * byteCount;
    if (entry.valueFile->size() <= position) return 0;
    const std::uint32_t fromFile = entry.valueFile->readValue(position, byteCount);
    if (byteCount >= 4) return fromFile;
    const std::uint32_t fileBits = (1u << (8 * byteCount)) - 1u;
    return (static_cast<std::uint32_t>(entry.value) & ~fileBits) | fromFile;
}

class BusySignals {
public:
    bool anyBusy(const TDigitalMacro& entry, const TDigitalWave& wave) const {
        for (int e = 0; e < entry.wave.signalCount; ++e) {
            const int target = entry.targetOf(e, wave);
            if (target >= 0 && busy_[static_cast<std::size_t>(target)]) return true;
        }
        return false;
    }
    void mark(const TDigitalMacro& entry, const TDigitalWave& wave, bool busy) {
        for (int e = 0; e < entry.wave.signalCount; ++e) {
            const int target = entry.targetOf(e, wave);
            if (target >= 0) busy_[static_cast<std::size_t>(target)] = busy;
        }
    }

private:
    std::array<bool, kMaxSignals> busy_{};
};

}  // namespace

void applyMacroStep(const TDigitalMacro& entry, TDigitalWave& wave, std::int32_t step) {
    const std::uint16_t templateWord = entry.wave.word(entry.position);
    std::uint16_t& word = wave.word(step);
    for (int e = 0; e < entry.wave.signalCount; ++e) {
        const int target = entry.targetOf(e, wave);
        if (target < 0) continue;
        const std::uint16_t value =
            getSignalValue(entry.wave.signals[static_cast<std::size_t>(e)], templateWord);
        setSignalValue(wave.signals[static_cast<std::size_t>(target)], word, value);
    }
}

bool expandStep(TDigitalWave& wave, MacroQueue& queue, std::int32_t step,
                MacroValueDialog* dialog) {
    if (queue.empty()) return false;
    BusySignals busy;
    bool dialogShown = false;
    for (std::size_t index = 0; index < queue.size(); ++index) {
        TDigitalMacro& entry = queue[index];
        if (!canPlay(entry)) {
            entry.remaining = 0;
            continue;
        }
        if (busy.anyBusy(entry, wave)) continue;  // waits for this step
        busy.mark(entry, wave, true);
        entry.position += 1;
        bool apply = true;
        if (entry.position == 0 && !entry.bindings.empty()) {
            auto v = static_cast<std::uint32_t>(entry.value);
            // The entry stops without playing; later entries may use its signals in this step.
            auto stop = [&] {
                apply = false;
                entry.remaining = 0;
                busy.mark(entry, wave, false);
            };
            switch (entry.valueSource) {
                case kValueAsk: {
                    dialogShown = true;
                    const MacroValueRequest request{
                        static_cast<int>(index), entry.name,
                        wrapped(static_cast<std::int64_t>(entry.cycles) - entry.remaining + 1),
                        entry.description, upperHex(v)};
                    const std::optional<MacroValueAnswer> answer =
                        dialog ? dialog->askMacroValue(request) : std::nullopt;
                    if (answer) {
                        v = answer->value;
                        entry.valueSource = answer->valueSource <= kValueCountUp
                                                ? answer->valueSource
                                                : std::uint8_t{kValueAsk};
                    } else {
                        stop();
                    }
                    entry.value = static_cast<std::int32_t>(v);
                    break;
                }
                case kValueKeep:
                    break;
                case kValueCountDown:
                    entry.value = wrapped(static_cast<std::int64_t>(entry.value) - 1);
                    v = static_cast<std::uint32_t>(entry.value);
                    break;
                case kValueCountUp:
                    entry.value = wrapped(static_cast<std::int64_t>(entry.value) + 1);
                    v = static_cast<std::uint32_t>(entry.value);
                    break;
                case kValueFromFile:
                    if (entry.valueFile)
                        v = valueFromFile(entry);
                    else
                        stop();
                    break;
                default:
                    break;
            }
            applyMacroValue(v, entry);
        }
        if (apply) applyMacroStep(entry, wave, step);
    }

    for (std::size_t index = 0; index < queue.size();) {
        TDigitalMacro& entry = queue[index];
        if (entry.position == entry.wave.length() - 1) {
            entry.remaining = wrapped(static_cast<std::int64_t>(entry.remaining) - 1);
            entry.position = -1;
        }
        if (entry.remaining > 0) {
            ++index;
            continue;
        }
        // A value file shared with other entries stays open for them.
        entry.valueFile.reset();
        queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return dialogShown;
}

std::int64_t estimateFinishSteps(const MacroQueue& queue, const TDigitalWave& wave) {
    std::array<std::int64_t, kMaxSignals> until{};
    for (const TDigitalMacro& entry : queue) {
        std::int64_t start = 0;
        for (int e = 0; e < entry.wave.signalCount; ++e) {
            const int target = entry.targetOf(e, wave);
            if (target >= 0) start = std::max(start, until[static_cast<std::size_t>(target)]);
        }
        const std::int64_t end =
            start + static_cast<std::int64_t>(std::max(entry.remaining, 0)) * entry.wave.length();
        for (int e = 0; e < entry.wave.signalCount; ++e) {
            const int target = entry.targetOf(e, wave);
            if (target >= 0) until[static_cast<std::size_t>(target)] = end;
        }
    }
    std::int64_t result = 0;
    for (int signal = 0; signal < wave.signalCount && signal < kMaxSignals; ++signal)
        result = std::max(result, until[static_cast<std::size_t>(signal)]);
    return result;
}
