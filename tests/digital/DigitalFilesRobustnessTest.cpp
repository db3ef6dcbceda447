#include <gtest/gtest.h>

#include <random>

#include "DigitalBuilders.h"
#include "core/ProgressReporter.h"
#include "RecordingMessages.h"
#include "ScriptedValueDialog.h"
#include "core/UserError.h"
#include "digital/DigitalStepper.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "digital/WaveFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A damaged copy of a valid file: flipped bits, dropped, inserted or overwritten bytes (often
// with extreme 32-bit numbers), or a cut end.
Bytes mutate(Bytes bytes, std::mt19937& random) {
    const int rounds = std::uniform_int_distribution<int>(1, 3)(random);
    for (int round = 0; round < rounds && !bytes.empty(); ++round) {
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
        const auto position = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
            case 0:
                bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            case 1:
                bytes.erase(position);
                break;
            case 2:
                bytes.insert(position, static_cast<std::uint8_t>(random()));
                break;
            case 3:
                bytes.resize(at);
                break;
            default: {
                static const std::uint32_t extremes[] = {0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 17,
                                                         0,          65537,      262145,     1025};
                const std::uint32_t value = extremes[random() % std::size(extremes)];
                for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
                    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
    }
    return bytes;
}

TDigitalWave richWave() {
    return waveOf({singleSignal("A", 0), busSignal("B", {3, 2, 1}), clockSignal("C", 5, 1, 3),
                   busSignal("D", {8, 9, 10, 11, 12, 13, 14, 15})},
                  {1, 2, 3, 4, 5, 6, 7});
}

MacroQueue richQueue() {
    TDigitalMacro counting = runningEntry(
        "Count", waveOf({busSignal("V", {0, 1, 2}), singleSignal("S", 3)}, {1, 2, 3}), {1, 0}, 4);
    counting.valueSource = kValueCountUp;
    counting.bindings = {{0, 0, 0, 1}, {3, 1, 1, 2}};
    TDigitalMacro asking =
        runningEntry("Ask", waveOf({busSignal("W", {0, 1, 2, 3, 4, 5, 6, 7})}, {9, 8}), {3}, 2);
    asking.bindings = {{4, 0, 0, 0}};
    asking.description = "V00-V31";
    return {counting, asking};
}

// Every damaged file either loads or is refused with the system's message; what loads can be
// expanded without harm.
TEST(DigitalFilesRobustness, DamagedFilesLoadOrAreRefused) {
    std::mt19937 random(745);
    const Bytes waveFile = encodeWaveFile(richWave(), richQueue());
    const Bytes mainFile = encodeMainWave(richWave());
    MacroLibrary library = richQueue();
    const Bytes libraryFile = encodeLibrary(library);
    const Bytes macroFile = encodeMacroFile(library[1]);
    int loaded = 0;
    int refused = 0;
    for (int round = 0; round < 1500; ++round) {
        try {
            TDigitalWave wave;
            MacroQueue queue;
            switch (round % 4) {
                case 0:
                    decodeWaveFile(mutate(waveFile, random), wave, queue);
                    break;
                case 1:
                    decodeMainWave(mutate(mainFile, random), wave);
                    break;
                case 2:
                    decodeLibrary(mutate(libraryFile, random), queue);
                    break;
                default:
                    queue.push_back(decodeMacroFile(mutate(macroFile, random)));
            }
            ++loaded;
            if (round % 4 != 0) continue;
            std::int32_t cursor = wave.length() - 1;
            RecordingMessages messages;
            SilentProgress progress;
            ScriptedValueDialog dialog;
            dialog.answers = {MacroValueAnswer{5, kValueCountUp}};
            DigitalStepper stepper(wave, &queue, cursor, messages, progress, &dialog);
            stepper.takeSteps(40);
            EXPECT_LE(wave.length(), kMaxWaveLength);
        } catch (const InvalidFile& error) {
            EXPECT_STREQ(error.what(), "Invalid file");
            ++refused;
        } catch (const UserError& error) {
            // A damaged wave may already be at the longest length.
            EXPECT_STREQ(error.what(), "Waveform too long");
        }
    }
    EXPECT_GT(loaded, 50);
    EXPECT_GT(refused, 500);
}

}  // namespace
