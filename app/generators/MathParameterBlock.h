#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The parameters of a formula waveform (generatorKind 2), kept as the record's params so that
// the formula editor can open it again: up to 16 formula slots, each mapping a real range of x
// onto a range of waveform points, and the named constants y and z.
//
// Stored layout, 21512 bytes: count (signed 32-bit); y value, z value, y description,
// z description (256-byte short strings); allow y, allow z, normalize, advanced mode (one byte
// each); 16 slots of five short strings (real start, real end, wave start, wave end, formula).

inline constexpr std::size_t kMathParamsSize = 21512;
inline constexpr int kMaxFormulaSlots = 16;

// The texts of one slot as typed, each itself a formula (the editor's defaults).
struct MathSlot {
    std::string realStart = "0";
    std::string realEnd = "2*pi";
    std::string waveStart = "0";
    std::string waveEnd = "16383";
    std::string formula = "sin(x)";

    bool operator==(const MathSlot&) const = default;
};

struct MathConstants {
    bool allowY = false;
    bool allowZ = false;
    std::string yValue = "0";  // formulas evaluated to the values of y and z
    std::string zValue = "16383";
    std::string yDescription;  // the operator's names for them
    std::string zDescription;

    bool operator==(const MathConstants&) const = default;
};

struct MathParameterBlock {
    std::int32_t count = 0;  // slots in use, 0..16
    MathConstants constants;
    bool normalize = true;  // scale the result into 1..255
    bool advancedMode = false;
    std::array<MathSlot, kMaxFormulaSlots> slots;

    bool operator==(const MathParameterBlock&) const = default;
};

std::vector<std::uint8_t> encodeMathParams(const MathParameterBlock& block);

// Reads a stored block; a shorter block reads as if padded with zeros, and a count outside
// 0..16 is limited to it.
MathParameterBlock decodeMathParams(std::span<const std::uint8_t> params);
