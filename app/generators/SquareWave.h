#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// The square-wave options of a waveform whose optionsKind is 1: the share of the period at the
// low level and at the high level, in percent, adding up to 100. Stored as the 8-byte params
// block (low share, then high share, signed 32-bit).
struct SquareShares {
    std::int32_t low = 50;
    std::int32_t high = 50;

    bool operator==(const SquareShares&) const = default;
};

inline constexpr std::size_t kSquareParamsSize = 8;

std::vector<std::uint8_t> encodeSquareShares(const SquareShares& shares);
// The shares of a params block; 50/50 when the block is shorter than 8 bytes.
SquareShares decodeSquareShares(std::span<const std::uint8_t> params);

// A typed share limited to 0..100, with the other share the rest of 100.
SquareShares sharesFromTyped(std::int32_t typedShare);

// OK of the square-wave dialog: the first round(low * 16384 / 100) of 16384 points at 1, the
// rest at 255, the shares stored as params and the statistics computed. optionsKind and
// generatorKind stay.
void applySquareWave(WaveformRecord& record, std::int32_t lowShare);
