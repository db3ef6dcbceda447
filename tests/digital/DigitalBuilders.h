#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "digital/DigitalMacro.h"

// Small builders for the digital tests: signals on given lines, waves and running entries.

inline TSignal singleSignal(const std::string& name, int line) {
    TSignal signal;
    signal.name = name;
    signal.width = 1;
    signal.pins[0] = {static_cast<std::uint16_t>(1u << line), static_cast<std::int8_t>(line)};
    return signal;
}

// Pin i drives lines[i].
inline TSignal busSignal(const std::string& name, std::initializer_list<int> lines) {
    TSignal signal;
    signal.name = name;
    signal.width = static_cast<std::uint8_t>(lines.size());
    int i = 0;
    for (int line : lines) {
        signal.pins[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(1u << line),
                                                    static_cast<std::int8_t>(line - i)};
        ++i;
    }
    return signal;
}

inline TSignal clockSignal(const std::string& name, int line, int clockBit, int counter = 0) {
    TSignal signal = singleSignal(name, line);
    signal.kind = kClockSignal;
    signal.clockBit = clockBit;
    signal.counter = counter;
    return signal;
}

inline TDigitalWave waveOf(std::initializer_list<TSignal> signals,
                           std::vector<std::uint16_t> words = {}) {
    TDigitalWave wave;
    for (const TSignal& signal : signals)
        wave.signals[static_cast<std::size_t>(wave.signalCount++)] = signal;
    setWaveLength(wave, static_cast<std::int32_t>(words.size()));
    for (std::size_t s = 0; s < words.size(); ++s)
        wave.word(static_cast<std::int32_t>(s)) = words[s];
    return wave;
}

// A running entry: template signals with their steps, element e driving targets[e].
inline TDigitalMacro runningEntry(const std::string& name, TDigitalWave templateWave,
                                  std::initializer_list<int> targets, int cycles) {
    TDigitalMacro entry;
    entry.name = name;
    entry.wave = std::move(templateWave);
    int e = 0;
    for (int target : targets)
        entry.targetMap[static_cast<std::size_t>(e++)] = static_cast<std::int8_t>(target);
    entry.cycles = entry.remaining = cycles;
    entry.position = -1;
    return entry;
}

// The values of one signal over all steps of a wave.
inline std::vector<int> signalTrace(const TDigitalWave& wave, int signal) {
    std::vector<int> values;
    for (std::uint16_t word : wave.words())
        values.push_back(getSignalValue(wave.signals[static_cast<std::size_t>(signal)], word));
    return values;
}

// Byte-for-byte expectations written straight from the encoding tables, independent of the
// writer under test.
class Golden {
public:
    Golden& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    Golden& u16(std::uint16_t v) {
        return u8(static_cast<std::uint8_t>(v)).u8(static_cast<std::uint8_t>(v >> 8));
    }
    Golden& i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return u16(static_cast<std::uint16_t>(u)).u16(static_cast<std::uint16_t>(u >> 16));
    }
    Golden& str(const std::string& text) {
        i32(static_cast<std::int32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Golden& append(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

inline bool sameSignal(const TSignal& a, const TSignal& b) {
    if (a.name != b.name || a.width != b.width || a.kind != b.kind || a.clockBit != b.clockBit ||
        a.counter != b.counter)
        return false;
    for (std::size_t i = 0; i < a.width && i < a.pins.size(); ++i)
        if (!(a.pins[i] == b.pins[i])) return false;
    return true;
}

inline bool sameWave(const TDigitalWave& a, const TDigitalWave& b) {
    if (a.length() != b.length() || a.capacity() != b.capacity() || a.signalCount != b.signalCount)
        return false;
    if (!std::equal(a.words().begin(), a.words().end(), b.words().begin())) return false;
    for (std::size_t i = 0; i < a.usedSignals().size(); ++i)
        if (!sameSignal(a.signals[i], b.signals[i])) return false;
    return true;
}

inline bool sameMacro(const TDigitalMacro& a, const TDigitalMacro& b) {
    return sameWave(a.wave, b.wave) && a.bindings == b.bindings && a.targetMap == b.targetMap &&
           a.position == b.position && a.remaining == b.remaining && a.cycles == b.cycles &&
           a.value == b.value && a.valueSource == b.valueSource && a.fileOffset == b.fileOffset &&
           a.valueWidth == b.valueWidth && a.name == b.name && a.description == b.description;
}
