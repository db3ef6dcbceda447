#include <gtest/gtest.h>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "core/ProgressReporter.h"
#include "RecordingMessages.h"
#include "RecordingProgress.h"
#include "core/UserError.h"
#include "digital/BusExplosion.h"
#include "digital/BusValueDialog.h"
#include "digital/CellEdit.h"
#include "digital/CountFromFile.h"
#include "digital/DigitalStepper.h"
#include "digital/MacroBindings.h"
#include "digital/NetRules.h"
#include "digital/WaveSteps.h"

namespace {

struct EventLog {
    StepEvents events() {
        StepEvents result;
        result.onStepsShifted = [this](std::int32_t p, int d) { shifted.push_back({p, d}); };
        result.onStepCopied = [this](std::int32_t p) { copied.push_back(p); };
        return result;
    }
    std::vector<std::pair<std::int32_t, int>> shifted;
    std::vector<std::int32_t> copied;
};

TDigitalWave fourSteps() {
    return waveOf({busSignal("D", {0, 1, 2, 3})}, {1, 2, 3, 4});
}

std::vector<std::uint16_t> wordsOf(const TDigitalWave& wave) {
    return {wave.words().begin(), wave.words().end()};
}

TEST(InsertDelete, InsertDuplicatesTheCursorStep) {
    TDigitalWave wave = fourSteps();
    std::int32_t cursor = 2;
    EventLog log;
    ASSERT_TRUE(insertStep(wave, cursor, log.events()));
    EXPECT_EQ(wordsOf(wave), (std::vector<std::uint16_t>{1, 2, 3, 3, 4}));
    EXPECT_EQ(cursor, 3);
    EXPECT_EQ(log.shifted, (std::vector<std::pair<std::int32_t, int>>{{2, 1}}));
    EXPECT_EQ(log.copied, std::vector<std::int32_t>{2});

    cursor = 4;
    insertStep(wave, cursor, {});
    EXPECT_EQ(wordsOf(wave), (std::vector<std::uint16_t>{1, 2, 3, 3, 4, 4}));
    EXPECT_EQ(cursor, 5);
}

TEST(InsertDelete, DeleteKeepsTheCursorInsideTheWave) {
    TDigitalWave wave = fourSteps();
    std::int32_t cursor = 1;
    EventLog log;
    ASSERT_TRUE(deleteStep(wave, cursor, log.events()));
    EXPECT_EQ(wordsOf(wave), (std::vector<std::uint16_t>{1, 3, 4}));
    EXPECT_EQ(cursor, 1);
    EXPECT_EQ(log.shifted, (std::vector<std::pair<std::int32_t, int>>{{1, -1}}));
    cursor = 2;
    deleteStep(wave, cursor, {});
    EXPECT_EQ(cursor, 1);
}

TEST(InsertDelete, DeletingTheOnlyStepThenOneStepGivesAZeroStepWithClocks) {
    TDigitalWave wave = waveOf({singleSignal("A", 0), clockSignal("C", 1, 0, 1)}, {1});
    std::int32_t cursor = 0;
    ASSERT_TRUE(deleteStep(wave, cursor, {}));
    EXPECT_EQ(wave.length(), 0);
    EXPECT_EQ(wave.capacity(), 0);
    EXPECT_EQ(cursor, -1);
    EXPECT_FALSE(deleteStep(wave, cursor, {}));

    RecordingMessages messages;
    SilentProgress progress;
    DigitalStepper stepper(wave, nullptr, cursor, messages, progress, nullptr);
    stepper.stepForward();
    EXPECT_EQ(wordsOf(wave), std::vector<std::uint16_t>{0x2});
    EXPECT_EQ(cursor, 0);
}

TEST(InsertDelete, NothingWithoutSignalsAndAFirstStepOnAnEmptyWave) {
    TDigitalWave bare;
    std::int32_t cursor = -1;
    EXPECT_FALSE(insertStep(bare, cursor, {}));
    TDigitalWave wave = waveOf({singleSignal("A", 0)});
    EventLog log;
    EXPECT_TRUE(insertStep(wave, cursor, log.events()));
    EXPECT_EQ(wordsOf(wave), std::vector<std::uint16_t>{0});
    EXPECT_EQ(cursor, 0);
    EXPECT_TRUE(log.copied.empty());
}

TEST(InsertDelete, InsertAtTheLimitChangesNothing) {
    TDigitalWave wave = waveOf({singleSignal("A", 0)});
    setWaveLength(wave, kMaxWaveLength);
    std::int32_t cursor = 5;
    EventLog log;
    EXPECT_THROW(insertStep(wave, cursor, log.events()), UserError);
    EXPECT_TRUE(log.shifted.empty());
    EXPECT_EQ(wave.length(), kMaxWaveLength);
    EXPECT_EQ(cursor, 5);
}

TEST(InsertDelete, RepeatedInsertsAndDeletesWithBreak) {
    TDigitalWave wave = fourSteps();
    std::int32_t cursor = 1;
    RecordingProgress progress;
    insertSteps(wave, cursor, {}, "3", 1, progress);
    EXPECT_EQ(wordsOf(wave), (std::vector<std::uint16_t>{1, 2, 2, 2, 2, 3, 4}));
    EXPECT_EQ(cursor, 4);
    EXPECT_EQ(progress.maximum, 3);
    EXPECT_TRUE(progress.finished);

    progress.breakAt = 2;
    deleteSteps(wave, cursor, {}, "$10", 1, progress);
    EXPECT_EQ(wordsOf(wave), (std::vector<std::uint16_t>{1, 2, 2, 2, 4}));
    EXPECT_EQ(cursor, 4);

    progress.breakAt = -1;
    deleteSteps(wave, cursor, {}, "100", 1, progress);
    EXPECT_EQ(wave.length(), 0);
    deleteSteps(wave, cursor, {}, "", 1, progress);
}

TEST(Explode, BusBecomesSingleSignalsAndImplodesBack) {
    TDigitalWave wave =
        waveOf({singleSignal("A", 0), busSignal("DATA", {5, 3, 9}), singleSignal("Z", 15)},
               {0x0228, 0x8001});
    const TDigitalWave original = wave;
    ASSERT_TRUE(explodeBus(wave, 1));
    ASSERT_EQ(wave.signalCount, 5);
    EXPECT_EQ(wave.signals[1].name, "DATA00");
    EXPECT_EQ(wave.signals[2].name, "DATA01");
    EXPECT_EQ(wave.signals[3].name, "DATA02");
    EXPECT_EQ(wave.signals[4].name, "Z");
    EXPECT_EQ(wave.signals[2].pins[0], (PinEntry{1 << 3, 3}));
    EXPECT_EQ(wave.signals[3].pins[0], (PinEntry{1 << 9, 9}));
    EXPECT_EQ(wordsOf(wave), wordsOf(original));

    EXPECT_TRUE(canImplode(wave, 2));
    EXPECT_EQ(implodeSignal(wave, 2), 1);
    EXPECT_TRUE(sameWave(wave, original));
    EXPECT_EQ(signalDisplayName(wave.signals[1]), "DATA[0:2]");
}

TEST(Explode, SixteenLineBusNamesItsBitsWithTwoDigits) {
    TDigitalWave wave =
        waveOf({busSignal("W", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})});
    ASSERT_TRUE(explodeBus(wave, 0));
    EXPECT_EQ(wave.signalCount, 16);
    EXPECT_EQ(wave.signals[9].name, "W09");
    EXPECT_EQ(wave.signals[15].name, "W15");
    EXPECT_EQ(implodeSignal(wave, 15), 0);
    EXPECT_EQ(wave.signals[0].width, 16);
}

TEST(Explode, RefusesSingleSignalsAndOverfullLists) {
    TDigitalWave wave = waveOf({singleSignal("A", 0)});
    EXPECT_FALSE(explodeBus(wave, 0));
    EXPECT_FALSE(explodeBus(wave, 3));
    TDigitalWave full;
    full.signalCount = 16;
    for (int i = 0; i < 15; ++i)
        full.signals[static_cast<std::size_t>(i)] = singleSignal("S" + std::to_string(i), i);
    full.signals[15] = busSignal("B", {0, 1});  // lines shared, as only a damaged file has them
    EXPECT_FALSE(explodeBus(full, 15));
    EXPECT_EQ(full.signalCount, 16);
}

TEST(Implode, OnlyCompleteGroupsOfSingleSignals) {
    EXPECT_FALSE(canImplode(waveOf({singleSignal("X00", 0), singleSignal("X02", 1)}), 0));
    EXPECT_FALSE(canImplode(
        waveOf({singleSignal("X00", 0), singleSignal("X01", 1), singleSignal("X16", 2)}), 0));
    EXPECT_FALSE(canImplode(waveOf({singleSignal("X00", 0), busSignal("X01", {1, 2})}), 0));
    EXPECT_FALSE(canImplode(waveOf({singleSignal("X00", 0), singleSignal("X00", 1)}), 0));
    EXPECT_FALSE(canImplode(waveOf({singleSignal("01", 0)}), 0));
    EXPECT_FALSE(canImplode(waveOf({singleSignal("XA1", 0)}), 0));
    EXPECT_FALSE(canImplode(waveOf({busSignal("B00", {0, 1})}), 0));
    EXPECT_FALSE(canImplode(waveOf({singleSignal("X01", 0)}), 0));
    TDigitalWave lone = waveOf({singleSignal("X01", 0)});
    EXPECT_EQ(implodeSignal(lone, 0), -1);
    EXPECT_EQ(lone.signals[0].name, "X01");

    // Different case is a different base: X00 implodes alone.
    TDigitalWave wave =
        waveOf({singleSignal("x01", 1), singleSignal("X00", 0), singleSignal("x00", 2)});
    EXPECT_TRUE(canImplode(wave, 1));
    EXPECT_EQ(implodeSignal(wave, 1), 1);
    EXPECT_EQ(wave.signals[1].name, "X");
    EXPECT_EQ(wave.signals[1].width, 1);
    EXPECT_EQ(wave.signals[0].name, "x01");

    // x01 stood before x00, so the bus takes the place one up.
    EXPECT_EQ(implodeSignal(wave, 2), 1);
    ASSERT_EQ(wave.signalCount, 2);
    EXPECT_EQ(wave.signals[1].name, "x");
    EXPECT_EQ(wave.signals[1].pins[0], (PinEntry{1 << 2, 2}));
    EXPECT_EQ(wave.signals[1].pins[1], (PinEntry{1 << 1, 0}));
}

TEST(NetRules, NameClashesIncludeBusBitNames) {
    const TDigitalWave nets = waveOf({singleSignal("A", 0), busSignal("B", {1, 2})});
    EXPECT_EQ(checkNewNet(nets, "b01", false, "0").error, "Prvok s takym menom uz existuje");
    EXPECT_EQ(checkNewNet(nets, "a", false, "0").error, "Prvok s takym menom uz existuje");
    EXPECT_EQ(checkNewNet(nets, "A", true, "1").error, "Prvok s takym menom uz existuje");
    EXPECT_EQ(checkNewNet(nets, "b", true, "3").error, "Prvok s takym menom uz existuje");
    const NewNetCheck accepted = checkNewNet(nets, "X", true, "1");
    EXPECT_EQ(accepted.error, "");
    EXPECT_EQ(accepted.width, 2);
    EXPECT_TRUE(checkNewNet(nets, "b02", false, "0").error.empty());
    // A new bus clashes through its own bit names too.
    EXPECT_FALSE(checkNewNet(waveOf({singleSignal("q01", 0)}), "Q", true, "1").error.empty());
}

TEST(NetRules, BusSizeNameAndCount) {
    const TDigitalWave nets = waveOf({singleSignal("A", 0)});
    EXPECT_EQ(checkNewNet(nets, "N", true, "0").error, "Nespravna velkost zbernice");
    EXPECT_EQ(checkNewNet(nets, "N", true, "16").error, "Nespravna velkost zbernice");
    EXPECT_EQ(checkNewNet(nets, "N", true, "x").error, "Nespravna velkost zbernice");
    EXPECT_EQ(checkNewNet(nets, "N", true, "15").width, 16);
    EXPECT_EQ(checkNewNet(nets, "N", false, "junk").width, 1);
    EXPECT_EQ(checkNewNet(nets, "", false, "0").error, "Musite zadat meno prvku");
    TDigitalWave full;
    for (int i = 0; i < 16; ++i)
        full.signals[static_cast<std::size_t>(full.signalCount++)] =
            singleSignal("S" + std::to_string(i), i);
    EXPECT_EQ(checkNewNet(full, "", false, "0").error, "Maximalny pocet prvkov prekroceny");
}

TEST(NetRules, MacroElementsTakeTheLowestFreeLines) {
    TDigitalWave templateWave = waveOf({singleSignal("A", 0), singleSignal("C", 2)});
    ASSERT_EQ(addMacroElement(templateWave, "B", true, "2"), "");
    ASSERT_EQ(templateWave.signalCount, 3);
    const TSignal& bus = templateWave.signals[2];
    EXPECT_EQ(bus.width, 3);
    EXPECT_EQ(bus.pins[0], (PinEntry{1 << 1, 1}));
    EXPECT_EQ(bus.pins[1], (PinEntry{1 << 3, 2}));
    EXPECT_EQ(bus.pins[2], (PinEntry{1 << 4, 2}));
    EXPECT_EQ(bus.kind, kSequenceSignal);

    TDigitalWave halves;
    EXPECT_EQ(addMacroElement(halves, "L", true, "7"), "");
    EXPECT_EQ(addMacroElement(halves, "H", true, "7"), "");
    EXPECT_EQ(halves.signals[1].pins[0], (PinEntry{1 << 8, 8}));
    EXPECT_EQ(addMacroElement(halves, "S", false, "0"), "Nie je dost miesta na vytvorenie prvku");
    EXPECT_EQ(addMacroElement(halves, "l", false, "0"), "Prvok s takym menom uz existuje");
    EXPECT_EQ(halves.signalCount, 2);
}

TDigitalMacro boundMacro() {
    TDigitalMacro macro;
    macro.wave = waveOf({busSignal("V", {0, 1}), clockSignal("C", 2, 0)}, {0, 0, 0, 0});
    macro.bindings = {{0, 0, 0, 0}, {4, 0, 0, 1}, {8, 1, 0, 2}, {0, 0, 1, 1}};
    return macro;
}

TEST(MacroBindingMoves, ShiftsFollowInsertedAndDeletedSteps) {
    TDigitalMacro macro = boundMacro();
    shiftBindings(macro, 1, +1);
    EXPECT_EQ(macro.bindings,
              (std::vector<MacroBinding>{{0, 0, 0, 0}, {4, 0, 0, 1}, {8, 1, 0, 3}, {0, 0, 1, 1}}));
    macro = boundMacro();
    shiftBindings(macro, 1, -1);
    EXPECT_EQ(macro.bindings, (std::vector<MacroBinding>{{0, 0, 0, 0}, {8, 1, 0, 1}}));
}

TEST(MacroBindingMoves, CopiesOnlySequenceSignalBindings) {
    TDigitalMacro macro = boundMacro();
    copyBindings(macro, 1);
    // The copy replaces the binding the next cell had; the clock's binding stays where it is.
    EXPECT_EQ(macro.bindings,
              (std::vector<MacroBinding>{{0, 0, 0, 0}, {4, 0, 0, 1}, {4, 0, 0, 2}, {0, 0, 1, 1}}));
    copyBindings(macro, 3);
    EXPECT_EQ(macro.bindings.size(), 4u);
    copyBindings(macro, 0);
    EXPECT_EQ(macro.bindings[1], (MacroBinding{0, 0, 0, 1}));
}

TEST(MacroBindingMoves, MacroEditorKeepsBindingsWithItsSteps) {
    TDigitalMacro macro = boundMacro();
    StepEvents events;
    events.onStepsShifted = [&](std::int32_t p, int d) { shiftBindings(macro, p, d); };
    events.onStepCopied = [&](std::int32_t p) { copyBindings(macro, p); };
    std::int32_t cursor = 0;
    insertStep(macro.wave, cursor, events);
    ASSERT_NE(findBinding(macro, 0, 1), nullptr);
    EXPECT_EQ(findBinding(macro, 0, 1)->bit, 0);
    ASSERT_NE(findBinding(macro, 0, 3), nullptr);
    EXPECT_EQ(findBinding(macro, 0, 3)->bit, 8);
    ASSERT_NE(findBinding(macro, 1, 2), nullptr);
    macro.bindings.push_back({9, 0, 0, 4});

    RecordingMessages messages;
    SilentProgress progress;
    cursor = macro.wave.length() - 1;
    DigitalStepper stepper(macro.wave, nullptr, cursor, messages, progress, nullptr);
    stepper.events = events;
    stepper.appendStep();
    ASSERT_NE(findBinding(macro, 0, 5), nullptr);
    EXPECT_EQ(findBinding(macro, 0, 5)->bit, 9);
}

TEST(MacroBindingMoves, AssigningBitsWithinTheValue) {
    TDigitalMacro macro;
    macro.wave = waveOf({busSignal("V", {0, 1, 2, 3, 4, 5, 6, 7}), singleSignal("S", 8)}, {0, 0});
    EXPECT_EQ(bindingTopBitText("24", 8), "31");
    EXPECT_EQ(assignBinding(macro, 0, 0, "24", false), "Nespravne hodnoty");
    EXPECT_EQ(assignBinding(macro, 0, 0, "23", true), "");
    EXPECT_EQ(macro.bindings, (std::vector<MacroBinding>{{23, 1, 0, 0}}));
    EXPECT_EQ(assignBinding(macro, 0, 0, "2", false), "");
    EXPECT_EQ(macro.bindings, (std::vector<MacroBinding>{{2, 0, 0, 0}}));
    EXPECT_EQ(bindingTopBitText("25", 8), "NA");
    EXPECT_EQ(bindingTopBitText("x", 8), "NA");
    EXPECT_EQ(bindingTopBitText("0", 8), "07");
    EXPECT_EQ(assignBinding(macro, 1, 1, "31", false), "");
    EXPECT_EQ(assignBinding(macro, 1, 1, "32", false), "Nespravne hodnoty");
    EXPECT_EQ(assignBinding(macro, 1, 1, "-1", false), "Nespravne hodnoty");
    EXPECT_EQ(assignBinding(macro, 1, 1, "V1", false), "Nespravne hodnoty");
    EXPECT_TRUE(removeBinding(macro, 1, 1));
    EXPECT_FALSE(removeBinding(macro, 1, 1));
    EXPECT_EQ(macro.bindings.size(), 1u);
}

TEST(MacroBindingMoves, NewElementListKeepsBindingsOfElementsFoundByName) {
    TDigitalMacro macro;
    macro.wave =
        waveOf({singleSignal("Addr", 0), singleSignal("Data", 1), singleSignal("Gone", 2)}, {0});
    macro.bindings = {{0, 0, 0, 0}, {1, 0, 1, 0}, {2, 0, 2, 0}};
    const TDigitalWave renamed =
        waveOf({singleSignal("DATA", 3), singleSignal("data", 4), singleSignal("Addr", 5)}, {0});
    replaceTemplateSignals(macro, renamed);
    EXPECT_EQ(macro.bindings, (std::vector<MacroBinding>{{0, 0, 2, 0}, {1, 0, 1, 0}}));
    EXPECT_EQ(macro.wave.signals[0].name, "DATA");
}

class ValueCountFile : public DigitalScratch {};

TEST_F(ValueCountFile, CountsValuesFromTheOffset) {
    const std::string file = put("values.bin", std::vector<std::uint8_t>(1000, 7)).string();
    EXPECT_EQ(countFromFile(file, "0", 1), 500);
    EXPECT_EQ(countFromFile(file, "1", 1), 499);
    EXPECT_EQ(countFromFile(file, "$10", 0), 984);
    EXPECT_EQ(countFromFile(file, "0x4", 3), 249);
    EXPECT_EQ(countFromFile(file, "offset", 1), std::nullopt);
    EXPECT_EQ(countFromFile((folder / "missing").string(), "0", 1), std::nullopt);
}

class ScriptedBusDialog final : public BusValueDialog {
public:
    std::optional<std::string> askBusValue(const std::string& valueText) override {
        shown.push_back(valueText);
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> shown;
};

TEST(CellEdit, SingleLineTogglesAndBusTakesTheTypedValue) {
    TDigitalWave wave = waveOf({singleSignal("A", 15), busSignal("B", {4, 5, 6, 7})}, {0x00A0, 0});
    ScriptedBusDialog dialog;
    EXPECT_TRUE(editCell(wave, 0, 0, dialog));
    EXPECT_EQ(wave.word(0), 0x80A0);
    EXPECT_TRUE(editCell(wave, 0, 0, dialog));
    EXPECT_EQ(wave.word(0), 0x00A0);

    dialog.answer = "c";
    EXPECT_TRUE(editCell(wave, 1, 0, dialog));
    EXPECT_EQ(dialog.shown, std::vector<std::string>{"0A"});
    EXPECT_EQ(wave.word(0), 0x00C0);

    dialog.answer = "1G";
    try {
        editCell(wave, 1, 0, dialog);
        FAIL() << "no error";
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "Incorrect hexadecimal number");
    }
    EXPECT_EQ(wave.word(0), 0x00C0);

    dialog.answer.reset();
    EXPECT_FALSE(editCell(wave, 1, 0, dialog));
    EXPECT_FALSE(editCell(wave, 0, 0, dialog, [](int) { return false; }));
    EXPECT_FALSE(editCell(wave, 0, 2, dialog));
    EXPECT_FALSE(editCell(wave, 2, 0, dialog));
    EXPECT_EQ(wave.word(0), 0x00C0);
}

TEST(CellEdit, CounterTakesWholeNumbersOnly) {
    TSignal clock = clockSignal("C", 0, 1, 3);
    EXPECT_TRUE(setCounter(clock, "42"));
    EXPECT_EQ(clock.counter, 42);
    EXPECT_TRUE(setCounter(clock, "$10"));
    EXPECT_EQ(clock.counter, 16);
    EXPECT_FALSE(setCounter(clock, "4.2"));
    EXPECT_FALSE(setCounter(clock, ""));
    EXPECT_EQ(clock.counter, 16);
}

}  // namespace
