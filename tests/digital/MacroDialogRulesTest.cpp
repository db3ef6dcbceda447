#include <gtest/gtest.h>

#include "DigitalBuilders.h"
#include "RecordingMessages.h"
#include "digital/MacroSetupRules.h"
#include "digital/RunningEntrySetup.h"

namespace {

TDigitalMacro twoElementMacro() {
    TDigitalMacro macro;
    macro.name = "Bus";
    macro.wave = waveOf({busSignal("D", {0, 1, 2, 3}), singleSignal("S", 4)}, {0});
    return macro;
}

TDigitalWave targets() {
    return waveOf(
        {busSignal("T", {8, 9}), singleSignal("U", 10), busSignal("W", {0, 1, 2, 3, 4, 5, 6, 7})});
}

TEST(AddMacro, TargetLinesShowWidthMismatches) {
    TDigitalMacro entry = twoElementMacro();
    const TDigitalWave wave = targets();
    assignTarget(entry, 0, 0);
    EXPECT_EQ(targetLineText(entry, wave, 0), "T[0:1] = D[0:3] !!!");
    EXPECT_EQ(targetLineText(entry, wave, 1), "U <not assigned>");
    assignTarget(entry, 1, 2);
    EXPECT_EQ(targetLineText(entry, wave, 2), "W[0:7] = S ???");
    assignTarget(entry, 0, 2);  // takes W from S
    EXPECT_EQ(entry.targetMap[1], kNoTarget);
    EXPECT_EQ(entry.targetMap[0], 2);
    EXPECT_EQ(targetLineText(entry, wave, 0), "T[0:1] <not assigned>");
}

TEST(AddMacro, AssignmentsBeyondTheWaveAreForgotten) {
    TDigitalMacro entry = twoElementMacro();
    entry.targetMap[0] = 3;
    entry.targetMap[1] = 1;
    dropMissingTargets(entry, targets());
    EXPECT_EQ(entry.targetMap[0], kNoTarget);
    EXPECT_EQ(entry.targetMap[1], 1);
}

TEST(AddMacro, OkChecksTheInputInOrder) {
    TDigitalMacro entry = twoElementMacro();
    const TDigitalWave wave = targets();
    RunningEntryInput input;
    input.countText = "x";
    EXPECT_EQ(setUpRunningEntry(entry, wave, input), "Nespravny pocet");
    input.countText = "0";
    EXPECT_EQ(setUpRunningEntry(entry, wave, input), "Pocet musi byt vacsi ako nula");
    input.countText = "3";
    input.valueFromFile = true;
    EXPECT_EQ(setUpRunningEntry(entry, wave, input), "Zadajte meno suboru");
    input.fileName = "values.bin";
    input.offsetText = "1.5";
    EXPECT_EQ(setUpRunningEntry(entry, wave, input), "Nespravny offset suboru");
    input.offsetText = "$10";
    assignTarget(entry, 0, 2);
    EXPECT_EQ(setUpRunningEntry(entry, wave, input), "Musite priradit kazdy prvok makra");
    EXPECT_EQ(entry.cycles, 0);

    assignTarget(entry, 1, 1);
    input.valueWidth = 2;
    entry.value = 9;
    ASSERT_EQ(setUpRunningEntry(entry, wave, input), "");
    EXPECT_EQ(entry.cycles, 3);
    EXPECT_EQ(entry.remaining, 3);
    EXPECT_EQ(entry.position, -1);
    EXPECT_EQ(entry.value, 0);
    EXPECT_EQ(entry.valueSource, kValueFromFile);
    EXPECT_EQ(entry.description, "values.bin");
    EXPECT_EQ(entry.fileOffset, 16);
    EXPECT_EQ(entry.valueWidth, 2);

    input.valueFromFile = false;
    entry.description = "Address";
    ASSERT_EQ(setUpRunningEntry(entry, wave, input), "");
    EXPECT_EQ(entry.valueSource, kValueAsk);
    EXPECT_EQ(entry.description, "Address");
}

TEST(MacroSetup, NewMacroDefaults) {
    const TDigitalMacro macro = newLibraryMacro();
    EXPECT_EQ(macro.name, "MyMacro");
    EXPECT_EQ(macro.description, "V00-V31");
    EXPECT_EQ(macro.valueWidth, 0);
    for (std::int8_t target : macro.targetMap)
        EXPECT_EQ(target, kNoTarget);
    EXPECT_EQ(macro.wave.length(), 0);
}

TEST(MacroSetup, OkNeedsANameOfItsOwnAndAStep) {
    MacroLibrary library = {twoElementMacro(), newLibraryMacro()};
    RecordingMessages messages;
    EXPECT_FALSE(confirmMacroSetup(library, -1, "", "V00-V31", 0, messages));
    EXPECT_FALSE(confirmMacroSetup(library, -1, "BUS", "V00-V31", 0, messages));
    EXPECT_FALSE(confirmMacroSetup(library, -1, "Strobe", "V00-V31", 0, messages));
    setWaveLength(library[1].wave, 1);
    EXPECT_TRUE(confirmMacroSetup(library, -1, "Strobe", "V00-V31", 2, messages));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Musite zadat meno makra",
                                                          "Makro s takym menom uz existuje",
                                                          "Nie je mozne vytvorit prazdne makro"}));
    EXPECT_EQ(library[1].name, "Strobe");
    EXPECT_EQ(library[1].valueWidth, 2);

    // Configuring "Bus" (a copy appended at the end) may keep its name.
    library.push_back(library[0]);
    EXPECT_TRUE(confirmMacroSetup(library, 0, "Bus", "V00-V31", 0, messages));
}

TEST(MacroSetup, UndescribedValueAsksFirst) {
    MacroLibrary library = {twoElementMacro()};
    library[0].bindings = {{0, 0, 0, 0}};
    RecordingMessages messages;
    messages.answers = {MessageResult::No, MessageResult::Yes};
    EXPECT_FALSE(confirmMacroSetup(library, -1, "Bus", "V00-V31", 0, messages));
    EXPECT_TRUE(confirmMacroSetup(library, -1, "Bus", "V00-V31", 0, messages));
    EXPECT_TRUE(confirmMacroSetup(library, -1, "Bus", "Address", 0, messages));
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].text,
              "Nezadali ste popis premennej.\r\nNema to vsak ziaden efekt na funkcnost "
              "makra.\r\nChcete pokracovat ?");
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Warning);
    EXPECT_EQ(library[0].description, "Address");
}

}  // namespace
