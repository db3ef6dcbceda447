#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// Amplitude modulation (generatorKind 4): a sine carrier of F periods multiplied by the source
// waveform used as envelope, never falling below A % of the full amplitude.
//
// Stored layout, 24 bytes: F (signed 32-bit), 4 reserved, depth scale = A * 128 / 100
// (double), A (signed 32-bit), 4 reserved.

inline constexpr std::size_t kModulationParamsSize = 24;
inline constexpr std::int32_t kMaxMinimumAmplitude = 95;

struct ModulationParams {
    std::int32_t carrierPeriods = 50;
    std::int32_t minimumAmplitude = 20;  // percent

    double depthScale() const { return minimumAmplitude * 128.0 / 100; }
    bool operator==(const ModulationParams&) const = default;
};

std::vector<std::uint8_t> encodeModulationParams(const ModulationParams& p);
// The defaults (50 periods, 20 %) when the block is shorter than 24 bytes.
ModulationParams decodeModulationParams(std::span<const std::uint8_t> params);

// A typed minimum amplitude limited to 0..95 %.
std::int32_t limitMinimumAmplitude(std::int32_t percent);

// Modulate: every one of the 16384 points of target is computed from the source's sample at
// the same index (128, 0 V, where the source is shorter), so that modulating again starts from
// the source, not from the last result. Samples are limited to 1..255.
void modulate(const WaveformRecord& source, const ModulationParams& params, WaveformRecord& target);

// OK: modulate, then generatorKind 4, optionsKind 0, the block as params, and the statistics.
void finishModulation(const WaveformRecord& source, const ModulationParams& params,
                      WaveformRecord& target);
