#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "digital/DigitalWave.h"
#include "digital/ValueFile.h"

// A cell (template signal, template step) that takes its level from the cycle value.
struct MacroBinding {
    std::int32_t bit = 0;     // the lowest value bit the cell takes (V00 to V31)
    std::uint8_t invert = 0;  // 1: the value is inverted before use
    std::int32_t signal = 0;  // template signal
    std::int32_t step = 0;    // template step

    bool operator==(const MacroBinding&) const = default;
};

// Where a running entry's next cycle value comes from.
enum MacroValueSource : std::uint8_t {
    kValueAsk = 0,
    kValueKeep = 1,
    kValueCountDown = 2,
    kValueCountUp = 3,
    kValueFromFile = 4,
};

inline constexpr std::int8_t kNoTarget = -1;

// A macro: a template wave whose signals are the macro's elements and whose steps are one
// cycle. The same record serves as a library entry and as an entry of the running queue.
struct TDigitalMacro {
    TDigitalWave wave;
    std::vector<MacroBinding> bindings;
    // Element e drives signal targetMap[e] of the edited wave; -1 when not assigned.
    std::array<std::int8_t, kMaxSignals> targetMap = filledTargetMap();
    std::int32_t position = -1;  // template step played last; -1 waiting for the next cycle
    std::int32_t remaining = 0;  // cycles still to play, counting the one under way
    std::int32_t cycles = 0;
    std::int32_t value = 0;
    std::uint8_t valueSource = kValueAsk;
    std::int32_t fileOffset = 0;
    std::uint8_t valueWidth = 0;           // a file value has valueWidth + 1 bytes
    std::shared_ptr<ValueFile> valueFile;  // open only during a step operation; never stored
    std::string name;
    std::string description;  // value caption; the value file's name for a file-driven entry

    // The wave signal that element e drives, or -1 when it drives none of the wave's signals
    // (not assigned, or an index left over from a changed signal list).
    int targetOf(int element, const TDigitalWave& target) const {
        const int index = targetMap[static_cast<std::size_t>(element)];
        return target.hasSignal(index) ? index : -1;
    }

private:
    static std::array<std::int8_t, kMaxSignals> filledTargetMap() {
        std::array<std::int8_t, kMaxSignals> map;
        map.fill(kNoTarget);
        return map;
    }
};

// The library of macros and the queue of running entries of an edited wave, in order.
using MacroLibrary = std::vector<TDigitalMacro>;
using MacroQueue = std::vector<TDigitalMacro>;

// Deep copy of everything but the open value file.
void copyMacro(const TDigitalMacro& source, TDigitalMacro& target);

// Empties the template and the bindings.
void clearMacro(TDigitalMacro& macro);

// Writes the cycle value into the template's bound cells: a cell bound at bit b takes the value
// bits from b on (inverted when asked). Bindings that name no cell of the template are skipped.
void applyMacroValue(std::uint32_t value, TDigitalMacro& macro);

// The binding of a template cell, or nothing.
MacroBinding* findBinding(TDigitalMacro& macro, std::int32_t signal, std::int32_t step);
