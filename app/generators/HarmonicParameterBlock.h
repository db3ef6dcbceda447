#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/UserMessages.h"
#include "waves/WaveformRecord.h"

// The harmonic composer's list (generatorKind 3): a fundamental sine of amplitude 127 plus up
// to 256 harmonics, each with a level typed in % or dB and a phase in whole degrees.
//
// Stored layout, 16400 bytes: count (signed 32-bit), 4 reserved bytes, half scale (double),
// then 256 records of 64 bytes: number (signed 32-bit), 4 reserved, amplitude (double),
// percent (byte), 7 reserved, level (double), phase in radians (double), phase degrees
// (signed 32-bit), 4 reserved, complement (double), marked (byte), 7 reserved.

inline constexpr std::size_t kHarmonicParamsSize = 16400;
inline constexpr int kMaxHarmonics = 256;
inline constexpr int kMaxMarkedHarmonics = 6;
inline constexpr double kMaxHarmonicDecibels = 40;
// A number typed into the composer or its level dialog that cannot be read.
inline constexpr const char* kInvalidHarmonicValues = "Hodnoty su nespravne";

struct HarmonicRecord {
    std::int32_t number = 0;  // multiple of the fundamental, 2 or more
    double amplitude = 0;     // in sample units, the fundamental being 127
    bool percent = false;     // the level was typed in % (else in dB)
    double level = 0;         // as typed
    double phase = 0;         // radians
    std::int32_t phaseDegrees = 0;
    double complement = 128;  // 128 - amplitude
    bool marked = false;      // shown in the data view

    bool operator==(const HarmonicRecord&) const = default;
};

struct HarmonicParameterBlock {
    std::int32_t count = 0;
    double halfScale = 0;  // half the normalisation scale of the last recomputation
    std::array<HarmonicRecord, kMaxHarmonics> harmonics;

    bool operator==(const HarmonicParameterBlock&) const = default;
};

std::vector<std::uint8_t> encodeHarmonicParams(const HarmonicParameterBlock& block);
// A shorter block reads as if padded with zeros; a count outside 0..256 is limited to it.
HarmonicParameterBlock decodeHarmonicParams(std::span<const std::uint8_t> params);

// Amplitude in sample units of a level: 100 % and 0 dB are 127, the fundamental.
double harmonicAmplitude(double level, bool percent);

// OK of the level dialog: stores the level, its unit and the phase with the amplitude,
// complement and phase in radians. A dB level above 40 is refused with
// "<level>dB nie je platna hodnota (prilis vysoka)" (UserError); the record is unchanged then.
void setHarmonicLevel(HarmonicRecord& harmonic, double level, bool percent,
                      std::int32_t phaseDegrees);

// Why harmonic n cannot be added, or nothing: the full list stops a group, a listed number
// (or the fundamental, 1) is skipped and the group goes on.
enum class HarmonicRefusal { None, ListFull, AlreadyListed };
HarmonicRefusal checkHarmonicToAdd(const HarmonicParameterBlock& block, std::int32_t number);
// The error text of a refusal ("Maximalny pocet harmonickych bol prekroceny",
// "Zoznam uz obsahuje 3. harmonicku").
std::string harmonicRefusalText(HarmonicRefusal refusal, std::int32_t number);

// The level proposed from the level formula's value: rounded to 4 decimals.
double roundedHarmonicLevel(double value);

// Recompute: samples of 127 sin t plus every harmonic's amplitude sin(n t + phase) over one
// period of the record's points, scaled to span 1..255; the half scale goes into the block.
void recomputeHarmonics(HarmonicParameterBlock& block, WaveformRecord& record);

// OK of the composer: the block becomes the record's params, generatorKind 3, optionsKind 0,
// and the statistics are computed.
void finishHarmonicWaveform(const HarmonicParameterBlock& block, WaveformRecord& record);

// Removes the harmonics at the given list indices (in any order); later ones move up.
void removeHarmonics(HarmonicParameterBlock& block, std::span<const int> indices);
// Marks the harmonics at the indices in order until six are marked; then shows
// "Mozete oznacit len 6 harmonickych" and stops.
void markHarmonics(HarmonicParameterBlock& block, std::span<const int> indices,
                   UserMessages& messages);
void unmarkHarmonics(HarmonicParameterBlock& block, std::span<const int> indices);

// "*Freq:3x Level:50% Phase:90" ("*" only when marked).
std::string harmonicListLine(const HarmonicRecord& harmonic);
