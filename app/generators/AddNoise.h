#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// Add noise (generatorKind 5): uniformly distributed whole-numbered noise of L sample steps
// added to the source, optionally scaled back into 1..255.
//
// Stored layout, 8 bytes: L (signed 32-bit), normalize (byte), 3 reserved.

inline constexpr std::size_t kNoiseParamsSize = 8;
inline constexpr const char* kInvalidNoiseLevel = "Nespravna hodnota v ukazovateli level";

struct NoiseParams {
    std::int32_t level = 0;
    bool normalize = false;

    bool operator==(const NoiseParams&) const = default;
};

std::vector<std::uint8_t> encodeNoiseParams(const NoiseParams& params);
NoiseParams decodeNoiseParams(std::span<const std::uint8_t> params);

// Adds noise from -(L div 2) to L - (L div 2) to each of the 16384 source samples (128 where
// the source is shorter); with normalize the result spans exactly 1..255, else it is limited
// to it. A negative level is refused with kInvalidNoiseLevel (UserError).
void addNoise(const WaveformRecord& source, const NoiseParams& params, std::mt19937& random,
              WaveformRecord& target);

// OK: adds the noise, then generatorKind 5, optionsKind 0, the block as params, and the
// statistics.
void finishNoise(const WaveformRecord& source, const NoiseParams& params, std::mt19937& random,
                 WaveformRecord& target);
