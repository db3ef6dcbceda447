#pragma once

#include <string>

#include "digital/DigitalMacro.h"

// The rules of "Add macro", which turns a copy of a library macro into a running entry of the
// edited wave.

// On opening: assignments to signals the wave does not have are forgotten.
void dropMissingTargets(TDigitalMacro& entry, const TDigitalWave& wave);

// Dropping element `element` on wave signal `target`: whatever element drove that target loses
// it, so that an element has at most one target and a target at most one element.
void assignTarget(TDigitalMacro& entry, int element, int target);

// The line of the target list for wave signal `target`: "T = E", with " !!!" when the element is
// wider than the target and " ???" when narrower, or "T <not assigned>".
std::string targetLineText(const TDigitalMacro& entry, const TDigitalWave& wave, int target);

// What the operator typed in "Add macro".
struct RunningEntryInput {
    std::string countText;       // "Count:"
    bool valueFromFile = false;  // "Value from file"
    std::string fileName;
    std::string offsetText;       // "File offset:", decimal or "$"/"0x" hexadecimal
    std::uint8_t valueWidth = 0;  // 0 "8bit" to 3 "32bit"
};

// "Ok": checks the input ("Nespravny pocet", "Pocet musi byt vacsi ako nula", "Zadajte meno
// suboru", "Nespravny offset suboru", "Musite priradit kazdy prvok makra") and returns the
// message of the first rule broken, leaving the entry as it was; or sets the entry up to run
// `count` cycles from its first step, asking for values or reading them from the file, and
// returns an empty text.
std::string setUpRunningEntry(TDigitalMacro& entry, const TDigitalWave& wave,
                              const RunningEntryInput& input);
