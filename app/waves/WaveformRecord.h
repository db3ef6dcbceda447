#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One analog waveform: its name, one period of 8-bit samples (1..255, 128 = 0 V, 254 steps for
// the full peak-to-peak level), the generator's opaque parameters with which its editor can
// open it again, and the statistics that the level conversions and the filter choice need.

inline constexpr std::int32_t kWavePointCount = 16384;        // every waveform made here
inline constexpr std::int32_t kMaxRecordPointCount = 262144;  // longest imported record
inline constexpr std::size_t kMaxWaveNameLength = 255;
// The largest parameter block of any editor (the formula editor's).
inline constexpr std::int32_t kMaxParamCount = 21512;

// optionsKind: the options dialog that the gallery's per-slot button opens.
inline constexpr std::int32_t kOptionsNone = 0;
inline constexpr std::int32_t kOptionsSquare = 1;
inline constexpr std::int32_t kOptionsFormula = 2;

// generatorKind: the editor that made the waveform (hand-drawn, imported and predefined are 0).
inline constexpr std::int32_t kGeneratorPlain = 0;
inline constexpr std::int32_t kGeneratorFormula = 2;
inline constexpr std::int32_t kGeneratorHarmonic = 3;
inline constexpr std::int32_t kGeneratorModulation = 4;
inline constexpr std::int32_t kGeneratorNoise = 5;

class WaveformRecord {
public:
    const std::string& name() const { return name_; }
    // Longer names are cut to 255 characters.
    void setName(std::string_view name);

    // A slot is empty when it has no points.
    bool isEmpty() const { return points.empty(); }
    std::int32_t pointCount() const { return static_cast<std::int32_t>(points.size()); }
    std::int32_t paramCount() const { return static_cast<std::int32_t>(params.size()); }

    std::uint8_t imported = 0;  // 1 for a record cut out of oscilloscope data
    std::vector<std::uint8_t> points;
    std::int32_t optionsKind = kOptionsNone;
    std::int32_t generatorKind = kGeneratorPlain;
    std::vector<std::uint8_t> params;

    // Statistics, filled by computeStatistics (or as stored in a file).
    std::int32_t maxSample = 0;
    std::int32_t minSample = 0;
    std::int32_t peakToPeak = 0;
    double meanSample = 0;
    std::int32_t harmonicCount = 1;

    bool operator==(const WaveformRecord&) const = default;

private:
    std::string name_;
};

// A deep copy of every field into target.
void copyRecord(const WaveformRecord& source, WaveformRecord& target);

// Releases both buffers and sets imported, optionsKind and generatorKind to 0; the name and the
// statistics stay as they were.
void clearRecord(WaveformRecord& record);

// Replaces the generator parameters with a copy of the given bytes.
void setParams(WaveformRecord& record, std::span<const std::uint8_t> bytes);
