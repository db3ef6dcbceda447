#include <gtest/gtest.h>
#include <sys/stat.h>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "RecordingMessages.h"
#include "RecordingProgress.h"
#include "ScriptedValueDialog.h"
#include "core/UserError.h"
#include "digital/DigitalStepper.h"
#include "digital/MacroExpansion.h"
#include "digital/RunningMacros.h"
#include "digital/StepCount.h"

namespace {

// The digital wave editor's working state around a stepper.
struct Editor {
    explicit Editor(TDigitalWave initial, MacroQueue running = {})
        : wave(std::move(initial)), queue(std::move(running)), cursor(wave.length() - 1) {
        stepper.onQueueChanged = [this] { ++queueRefreshes; };
    }

    std::vector<int> trace(int signal) const { return signalTrace(wave, signal); }

    TDigitalWave wave;
    MacroQueue queue;
    std::int32_t cursor;
    RecordingMessages messages;
    RecordingProgress progress;
    ScriptedValueDialog dialog;
    DigitalStepper stepper{wave, &queue, cursor, messages, progress, &dialog};
    int queueRefreshes = 0;
};

TDigitalWave twoLines() {
    return waveOf({singleSignal("S0", 0), singleSignal("S1", 1)});
}

TDigitalWave lineTemplate(std::vector<std::uint16_t> levels) {
    return waveOf({singleSignal("E", 0)}, std::move(levels));
}

TEST(Expansion, EntriesOnDisjointSignalsRunSideBySide) {
    Editor editor(twoLines(), {runningEntry("A", lineTemplate({1, 0, 1}), {0}, 1),
                               runningEntry("B", lineTemplate({0, 1}), {1}, 1)});
    editor.stepper.appendStep();
    editor.stepper.appendStep();
    ASSERT_EQ(editor.queue.size(), 1u);
    EXPECT_EQ(editor.queue[0].name, "A");
    editor.stepper.appendStep();
    EXPECT_TRUE(editor.queue.empty());
    EXPECT_EQ(editor.trace(0), (std::vector<int>{1, 0, 1}));
    // B's second level stays: the third step starts as a copy of the second.
    EXPECT_EQ(editor.trace(1), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(editor.cursor, 2);
}

TEST(Expansion, EntryOnABusySignalWaitsWhileLaterEntriesPlay) {
    Editor editor(twoLines(), {runningEntry("First", lineTemplate({1, 0}), {0}, 2),
                               runningEntry("Second", lineTemplate({1, 1}), {0}, 1),
                               runningEntry("Other", lineTemplate({1, 0, 1}), {1}, 1)});
    EXPECT_EQ(estimateFinishSteps(editor.queue, editor.wave), 6);
    for (int i = 0; i < 4; ++i)
        editor.stepper.appendStep();
    ASSERT_EQ(editor.queue.size(), 1u);
    EXPECT_EQ(editor.queue[0].name, "Second");
    EXPECT_EQ(editor.queue[0].position, -1);
    EXPECT_EQ(estimateFinishSteps(editor.queue, editor.wave), 2);
    editor.stepper.appendStep();
    editor.stepper.appendStep();
    EXPECT_TRUE(editor.queue.empty());
    EXPECT_EQ(editor.trace(0), (std::vector<int>{1, 0, 1, 0, 1, 1}));
    EXPECT_EQ(editor.trace(1), (std::vector<int>{1, 0, 1, 1, 1, 1}));
}

// A template of one step whose 4-line bus takes the cycle value from bit 0.
TDigitalMacro countingEntry(std::uint8_t source, std::int32_t value, int cycles, int remaining) {
    TDigitalMacro entry =
        runningEntry("Count", waveOf({busSignal("V", {0, 1, 2, 3})}, {0}), {0}, cycles);
    entry.remaining = remaining;
    entry.valueSource = source;
    entry.value = value;
    entry.bindings = {{0, 0, 0, 0}};
    return entry;
}

TDigitalWave nibbleWave() {
    return waveOf({busSignal("N", {4, 5, 6, 7})});
}

TEST(Expansion, CountingSourcesChangeTheValueAtEachCycle) {
    struct Case {
        std::uint8_t source;
        int expected;
    };
    for (const Case c : {Case{kValueCountUp, 6}, Case{kValueCountDown, 4}, Case{kValueKeep, 5}}) {
        Editor editor(nibbleWave(), {countingEntry(c.source, 5, 2, 1)});
        editor.stepper.appendStep();
        EXPECT_EQ(editor.trace(0), std::vector<int>{c.expected}) << int(c.source);
        EXPECT_TRUE(editor.queue.empty());
        EXPECT_TRUE(editor.dialog.requests.empty());
    }
}

TEST(Expansion, CountingUpOverManyCyclesWrapsTheBusWidth) {
    Editor editor(nibbleWave(), {countingEntry(kValueCountUp, 13, 5, 5)});
    editor.stepper.takeSteps(5);
    EXPECT_EQ(editor.trace(0), (std::vector<int>{14, 15, 0, 1, 2}));
    EXPECT_EQ(editor.queueRefreshes, 1);
}

TEST(Expansion, BindingTakesTheValueBitsFromItsBitOn) {
    TDigitalMacro macro;
    macro.wave = waveOf({busSignal("V", {0, 1, 2, 3}), singleSignal("S", 4)}, {0, 0});
    macro.bindings = {{4, 0, 0, 0}, {0, 1, 0, 1}, {31, 0, 1, 0}};
    applyMacroValue(0x800000AB, macro);
    EXPECT_EQ(getSignalValue(macro.wave.signals[0], macro.wave.word(0)), 0xA);
    EXPECT_EQ(getSignalValue(macro.wave.signals[0], macro.wave.word(1)), 0x4);
    EXPECT_EQ(getSignalValue(macro.wave.signals[1], macro.wave.word(0)), 1);
    applyMacroValue(0, macro);
    EXPECT_EQ(getSignalValue(macro.wave.signals[0], macro.wave.word(1)), 15);

    // Bindings naming no cell of the template are passed over.
    macro.bindings = {{0, 0, 5, 0}, {0, 0, 0, 9}, {0, 0, -1, -1}};
    applyMacroValue(0xFFFF, macro);
    EXPECT_EQ(macro.wave.word(0), 0);
}

TEST(Expansion, AskedValueAndTheChoiceForLaterCycles) {
    TDigitalMacro entry = countingEntry(kValueAsk, 0x2A, 3, 3);
    entry.description = "Address";
    Editor editor(nibbleWave(), {entry});
    editor.dialog.answers = {MacroValueAnswer{0x0C, kValueCountUp}};
    editor.stepper.takeSteps(3);
    ASSERT_EQ(editor.dialog.requests.size(), 1u);
    const MacroValueRequest& request = editor.dialog.requests[0];
    EXPECT_EQ(request.entry, 0);
    EXPECT_EQ(request.macroName, "Count");
    EXPECT_EQ(request.cycleNumber, 1);
    EXPECT_EQ(request.description, "Address");
    EXPECT_EQ(request.valueText, "2A");
    EXPECT_EQ(editor.trace(0), (std::vector<int>{0xC, 0xD, 0xE}));
}

TEST(Expansion, AskingAgainEachCycleShowsTheCycleNumber) {
    Editor editor(nibbleWave(), {countingEntry(kValueAsk, 0, 2, 2)});
    editor.dialog.answers = {MacroValueAnswer{3, kValueAsk}, MacroValueAnswer{9, kValueAsk}};
    editor.stepper.takeSteps(2);
    ASSERT_EQ(editor.dialog.requests.size(), 2u);
    EXPECT_EQ(editor.dialog.requests[1].cycleNumber, 2);
    EXPECT_EQ(editor.dialog.requests[1].valueText, "3");
    EXPECT_EQ(editor.trace(0), (std::vector<int>{3, 9}));
}

TEST(Expansion, AbortFreesTheSignalsForLaterEntriesInTheSameStep) {
    TDigitalMacro asking = countingEntry(kValueAsk, 0, 4, 4);
    TDigitalMacro next = runningEntry("Next", waveOf({busSignal("W", {0, 1, 2, 3})}, {7}), {0}, 1);
    Editor editor(nibbleWave(), {asking, next});
    editor.stepper.appendStep();
    EXPECT_EQ(editor.dialog.requests.size(), 1u);
    EXPECT_EQ(editor.trace(0), std::vector<int>{7});
    EXPECT_TRUE(editor.queue.empty());
}

TEST(Expansion, EntriesWithoutBindingsNeverAsk) {
    TDigitalMacro entry = runningEntry("Plain", lineTemplate({1}), {0}, 2);
    Editor editor(twoLines(), {entry});
    editor.stepper.takeSteps(2);
    EXPECT_TRUE(editor.dialog.requests.empty());
    EXPECT_EQ(editor.trace(0), (std::vector<int>{1, 1}));
}

TEST(Expansion, NarrowAndWideElementsFitTheirTargets) {
    TDigitalMacro entry = runningEntry(
        "Mixed", waveOf({busSignal("W", {0, 1, 2, 3}), singleSignal("N", 4)}, {0x1F}), {1, 0}, 1);
    Editor editor(waveOf({busSignal("T", {8, 9, 10}), busSignal("U", {12, 13})}, {0xFFFF}),
                  {entry});
    editor.cursor = 0;
    editor.stepper.appendStep();
    // The 4-line element loses its top bit on the 2-line target; the single line leaves the
    // upper bits of the 3-line target 0.
    EXPECT_EQ(getSignalValue(editor.wave.signals[1], editor.wave.word(1)), 3);
    EXPECT_EQ(getSignalValue(editor.wave.signals[0], editor.wave.word(1)), 1);
    EXPECT_EQ(editor.wave.word(1) & ~0x3700, 0xFFFF & ~0x3700);
}

class ValueFileExpansion : public DigitalScratch {
protected:
    TDigitalMacro fileEntry(const std::string& name, const std::filesystem::path& file,
                            int cycles) {
        TDigitalMacro entry = runningEntry(
            name,
            waveOf({busSignal("V", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})}, {0}),
            {0}, cycles);
        entry.valueSource = kValueFromFile;
        entry.description = file.string();
        entry.fileOffset = 2;
        entry.valueWidth = 1;
        entry.bindings = {{0, 0, 0, 0}};
        return entry;
    }
    TDigitalWave wordWave() {
        return waveOf({busSignal("W", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})});
    }
};

TEST_F(ValueFileExpansion, ValuesComeLeastSignificantByteFirstAndAShortFileWarnsFirst) {
    const auto file = put("values.bin", {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16});
    Editor editor(wordWave(), {fileEntry("F", file, 3)});
    editor.messages.answers = {MessageResult::Yes};
    editor.stepper.takeSteps(3);
    ASSERT_EQ(editor.messages.calls.size(), 1u);
    EXPECT_EQ(editor.messages.calls[0].text,
              "Makro F obsahuje odkaz na prilis maly subor:" + file.string() +
                  "\r\nChcete pokracovat (ostatne bajty budu 00h) ?");
    EXPECT_EQ(editor.messages.calls[0].kind, MessageKind::Warning);
    EXPECT_EQ(editor.messages.calls[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(editor.trace(0), (std::vector<int>{0x1312, 0x1514, 0x0016}));
    EXPECT_TRUE(editor.queue.empty());
}

TEST_F(ValueFileExpansion, CyclesBeyondTheEndOfTheFileGetZero) {
    const auto file = put("values.bin", {0x10, 0x11, 0x12, 0x13});
    TDigitalMacro entry = fileEntry("F", file, 3);
    entry.value = 0x00AB0000;  // only the bytes that the file provides are replaced
    Editor editor(wordWave(), {entry});
    editor.messages.answers = {MessageResult::Yes};
    editor.stepper.takeSteps(3);
    EXPECT_EQ(editor.trace(0), (std::vector<int>{0x1312, 0, 0}));
}

TEST_F(ValueFileExpansion, NoToTheWarningLeavesEverythingAsItWas) {
    const auto file = put("values.bin", {1, 2, 3});
    Editor editor(wordWave(), {fileEntry("F", file, 3)});
    editor.messages.answers = {MessageResult::No};
    editor.stepper.takeSteps("5", 1000);
    EXPECT_EQ(editor.wave.length(), 0);
    ASSERT_EQ(editor.queue.size(), 1u);
    EXPECT_FALSE(editor.queue[0].valueFile);
    EXPECT_EQ(editor.queueRefreshes, 1);
    EXPECT_EQ(editor.progress.starts, 0);
}

TEST_F(ValueFileExpansion, MissingFileDropsItsEntryAtItsFirstCycle) {
    const auto missing = folder / "gone.bin";
    TDigitalMacro lost = fileEntry("Lost", missing, 2);
    TDigitalMacro other = runningEntry("Other", waveOf({busSignal("V", {0, 1})}, {2}), {0}, 1);
    Editor editor(wordWave(), {lost, other});
    editor.messages.answers = {MessageResult::Yes};
    editor.stepper.stepForward();
    EXPECT_EQ(editor.messages.texts(),
              std::vector<std::string>{
                  "Makro Lost obsahuje odkaz na chybajuci subor:" + missing.string() +
                  "\r\nChcete pokracovat (makro ostane nerozvinute) ?"});
    EXPECT_EQ(editor.messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(editor.trace(0), std::vector<int>{2});
    EXPECT_TRUE(editor.queue.empty());
}

TEST_F(ValueFileExpansion, AnythingButARegularFileIsAMissingFileAndNothingWaits) {
    const auto fifo = folder / "values.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& file : {fifo, folder}) {
        Editor editor(wordWave(), {fileEntry("F", file, 1)});
        editor.messages.answers = {MessageResult::Yes};
        editor.stepper.stepForward();
        EXPECT_EQ(
            editor.messages.texts(),
            std::vector<std::string>{"Makro F obsahuje odkaz na chybajuci subor:" + file.string() +
                                     "\r\nChcete pokracovat (makro ostane nerozvinute) ?"});
        EXPECT_TRUE(editor.queue.empty());
    }
}

TEST_F(ValueFileExpansion, EntriesNamingTheSameFileShareItAndAreWarnedOnce) {
    const auto file = put("values.bin", {0, 0, 0x34, 0x12});
    TDigitalWave wave = waveOf({busSignal("LO", {0, 1, 2, 3, 4, 5, 6, 7}),
                                busSignal("HI", {8, 9, 10, 11, 12, 13, 14, 15})});
    TDigitalMacro low = fileEntry("Low", file, 2);
    TDigitalMacro high = fileEntry("High", file, 2);
    high.targetMap[0] = 1;
    high.bindings = {{8, 0, 0, 0}};
    Editor editor(wave, {low, high});
    editor.messages.answers = {MessageResult::Yes};
    editor.stepper.takeSteps(1);
    EXPECT_EQ(editor.messages.calls.size(), 1u);
    EXPECT_EQ(editor.wave.word(0), 0x1234);
    for (const TDigitalMacro& entry : editor.queue)
        EXPECT_FALSE(entry.valueFile);
}

TEST(StepOperations, OneStepMovesTheCursorBeforeAppending) {
    Editor editor(twoLines());
    setWaveLength(editor.wave, 3);
    editor.cursor = 0;
    editor.stepper.stepForward();
    EXPECT_EQ(editor.cursor, 1);
    EXPECT_EQ(editor.wave.length(), 3);
    editor.stepper.takeSteps(3);
    EXPECT_EQ(editor.cursor, 4);
    EXPECT_EQ(editor.wave.length(), 5);
    EXPECT_EQ(editor.queueRefreshes, 2);
}

TEST(StepOperations, CountInSecondsFollowsTheTickFrequency) {
    Editor editor(twoLines());
    editor.stepper.takeSteps("0.001s", 10000);
    EXPECT_EQ(editor.wave.length(), 10);
    EXPECT_EQ(editor.progress.maximum, 10);
    EXPECT_EQ(editor.progress.captions.back(), "");
    EXPECT_TRUE(editor.progress.breakAllowed);
    EXPECT_TRUE(editor.progress.finished);

    editor.cursor = 0;
    editor.stepper.takeSteps("0.0005s", 10000);
    EXPECT_EQ(editor.cursor, 5);
    EXPECT_EQ(editor.wave.length(), 10);
}

TEST(StepOperations, BreakStopsAfterTheCurrentStep) {
    Editor editor(twoLines());
    editor.progress.breakAt = 3;
    editor.stepper.takeSteps("100", 1);
    EXPECT_EQ(editor.wave.length(), 3);
    EXPECT_TRUE(editor.progress.finished);
}

TEST(StepOperations, NothingWithoutCountOrSignals) {
    Editor editor(twoLines());
    editor.stepper.takeSteps("", 1);
    editor.stepper.takeSteps("abc", 1);
    editor.stepper.takeSteps("-4", 1);
    EXPECT_EQ(editor.wave.length(), 0);
    EXPECT_EQ(editor.queueRefreshes, 0);

    Editor bare(TDigitalWave{});
    bare.stepper.takeSteps(10);
    bare.stepper.stepForward();
    EXPECT_EQ(bare.wave.length(), 0);
    EXPECT_EQ(bare.cursor, -1);
}

TEST(StepOperations, TooLongEndsTheOperationAndClosesItsFiles) {
    Editor editor(twoLines(), {runningEntry("A", lineTemplate({1}), {0}, 100)});
    setWaveLength(editor.wave, kMaxWaveLength - 2);
    editor.cursor = editor.wave.length() - 1;
    EXPECT_THROW(editor.stepper.takeSteps(5), UserError);
    EXPECT_EQ(editor.wave.length(), kMaxWaveLength);
    EXPECT_EQ(editor.queue[0].remaining, 98);
    EXPECT_EQ(editor.queueRefreshes, 1);
    EXPECT_TRUE(editor.progress.finished);
}

TEST(StepOperations, FinishAppendsUntilTheQueueIsEmpty) {
    Editor editor(twoLines(), {runningEntry("First", lineTemplate({1, 0}), {0}, 2),
                               runningEntry("Second", lineTemplate({1, 1}), {0}, 1)});
    editor.stepper.finishMacroQueue();
    EXPECT_TRUE(editor.queue.empty());
    EXPECT_EQ(editor.wave.length(), 6);
    EXPECT_EQ(editor.progress.maximum, 6);
    EXPECT_EQ(editor.progress.position, 6);

    Editor empty(twoLines());
    empty.stepper.finishMacroQueue();
    EXPECT_EQ(empty.wave.length(), 0);
    EXPECT_EQ(empty.queueRefreshes, 1);
}

TEST(StepOperations, FinishRestartsTheGaugeAfterTheValueDialog) {
    Editor editor(nibbleWave(), {countingEntry(kValueAsk, 0, 3, 3)});
    editor.dialog.answers = {MacroValueAnswer{1, kValueCountUp}};
    editor.stepper.finishMacroQueue();
    EXPECT_EQ(editor.progress.starts, 2);
    // After the first step: two cycles left, plus the step already taken.
    EXPECT_EQ(editor.progress.maximum, 3);
    EXPECT_EQ(editor.progress.position, 3);
    EXPECT_EQ(editor.trace(0), (std::vector<int>{1, 2, 3}));
}

TEST(StepOperations, FinishEndsWhenNothingCanBeAppended) {
    // A queue left over after the signals were configured away.
    Editor editor(TDigitalWave{}, {runningEntry("A", lineTemplate({1}), {0}, 3)});
    editor.stepper.finishMacroQueue();
    EXPECT_EQ(editor.queue.size(), 1u);
    EXPECT_TRUE(editor.progress.finished);
}

TEST(StepOperations, DamagedQueueEntriesLeaveWithoutHarm) {
    TDigitalMacro unassigned = runningEntry("NoTarget", lineTemplate({1}), {-1}, 2);
    TDigitalMacro stale = runningEntry("Stale", lineTemplate({1}), {9}, 2);
    TDigitalMacro empty = runningEntry("Empty", TDigitalWave{}, {0}, 2);
    TDigitalMacro lost = runningEntry("Lost", lineTemplate({1, 1}), {0}, 2);
    lost.position = 7;
    TDigitalMacro last = runningEntry("Last", lineTemplate({1, 0}), {0}, 1);
    last.position = 1;
    Editor editor(twoLines(), {unassigned, stale, empty, lost, last});
    editor.stepper.finishMacroQueue();
    EXPECT_TRUE(editor.queue.empty());
    EXPECT_EQ(editor.trace(0), (std::vector<int>{0, 0}));
}

TEST(StepCountText, NumbersHexAndTimes) {
    EXPECT_EQ(parseStepCount("", 1000), -1);
    EXPECT_EQ(parseStepCount("12", 1000), 12);
    EXPECT_EQ(parseStepCount(" 12 ", 1000), 12);
    EXPECT_EQ(parseStepCount("$10", 1000), 16);
    EXPECT_EQ(parseStepCount("0x1f", 1000), 31);
    EXPECT_EQ(parseStepCount("-3", 1000), -3);
    EXPECT_EQ(parseStepCount("1.5", 1000), -1);
    EXPECT_EQ(parseStepCount("abc", 1000), -1);
    EXPECT_EQ(parseStepCount("99999999999", 1000), -1);
    EXPECT_EQ(parseStepCount("0.001s", 10000), 10);
    EXPECT_EQ(parseStepCount("1,5s", 2), 3);
    EXPECT_EQ(parseStepCount("2.5s", 1), 2);
    EXPECT_EQ(parseStepCount("3.5s", 1), 4);
    EXPECT_EQ(parseStepCount("s", 1000), -1);
    EXPECT_EQ(parseStepCount("xs", 1000), -1);
    EXPECT_EQ(parseStepCount("1e9s", 1e6), -1);
}

TEST(RunningList, RemoveAndClearAskFirst) {
    MacroQueue queue = {runningEntry("A", lineTemplate({1}), {0}, 1),
                        runningEntry("B", lineTemplate({1}), {0}, 1),
                        runningEntry("C", lineTemplate({1}), {0}, 1)};
    RecordingMessages messages;
    messages.answers = {MessageResult::No, MessageResult::Yes, MessageResult::No,
                        MessageResult::Closed};
    EXPECT_FALSE(removeRunning(queue, 1, messages));
    EXPECT_TRUE(removeRunning(queue, 1, messages));
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[1].name, "C");
    EXPECT_FALSE(removeRunning(queue, 5, messages));
    EXPECT_FALSE(removeRunning(queue, -1, messages));
    EXPECT_FALSE(clearRunning(queue, messages));
    EXPECT_EQ(queue.size(), 2u);
    EXPECT_TRUE(clearRunning(queue, messages));
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(
        messages.texts(),
        (std::vector<std::string>{
            "Rozbalovanie zvoleneho makra sa zastavi !\r\nSte si isty, ze chcete pokracovat ?",
            "Rozbalovanie zvoleneho makra sa zastavi !\r\nSte si isty, ze chcete pokracovat ?",
            "Rozbalovanie vsetkych makier sa zastavi !\r\nSte si isty, ze chcete pokracovat ?",
            "Rozbalovanie vsetkych makier sa zastavi !\r\nSte si isty, ze chcete pokracovat ?"}));
}

}  // namespace
