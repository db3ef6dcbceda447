#include "generators/MathParameterBlock.h"

#include <algorithm>

#include "core/ByteStream.h"
#include "generators/ShortStringField.h"
#include "waves/WaveformRecord.h"

namespace {

constexpr std::size_t kConstantsOffset = 4;
constexpr std::size_t kFlagsOffset = kConstantsOffset + 4 * kShortStringFieldSize;
constexpr std::size_t kSlotsOffset = kFlagsOffset + 4;
constexpr std::size_t kSlotSize = 5 * kShortStringFieldSize;
static_assert(kSlotsOffset + kMaxFormulaSlots * kSlotSize == kMathParamsSize);
// Records keep at most this much, or their files would not read back.
static_assert(kMathParamsSize <= kMaxParamCount);

std::span<std::uint8_t, kShortStringFieldSize> field(std::vector<std::uint8_t>& bytes,
                                                     std::size_t offset) {
    return std::span<std::uint8_t, kShortStringFieldSize>(bytes.data() + offset,
                                                          kShortStringFieldSize);
}

std::string text(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return readShortString(std::span<const std::uint8_t, kShortStringFieldSize>(
        bytes.data() + offset, kShortStringFieldSize));
}

}  // namespace

std::vector<std::uint8_t> encodeMathParams(const MathParameterBlock& block) {
    std::vector<std::uint8_t> bytes(kMathParamsSize, 0);
    ByteWriter count;
    count.i32(block.count);
    std::copy(count.bytes().begin(), count.bytes().end(), bytes.begin());
    const MathConstants& constants = block.constants;
    writeShortString(field(bytes, kConstantsOffset), constants.yValue);
    writeShortString(field(bytes, kConstantsOffset + kShortStringFieldSize), constants.zValue);
    writeShortString(field(bytes, kConstantsOffset + 2 * kShortStringFieldSize),
                     constants.yDescription);
    writeShortString(field(bytes, kConstantsOffset + 3 * kShortStringFieldSize),
                     constants.zDescription);
    bytes[kFlagsOffset] = constants.allowY;
    bytes[kFlagsOffset + 1] = constants.allowZ;
    bytes[kFlagsOffset + 2] = block.normalize;
    bytes[kFlagsOffset + 3] = block.advancedMode;
    for (int k = 0; k < kMaxFormulaSlots; ++k) {
        const std::size_t offset = kSlotsOffset + static_cast<std::size_t>(k) * kSlotSize;
        const MathSlot& slot = block.slots[static_cast<std::size_t>(k)];
        const std::string* texts[] = {&slot.realStart, &slot.realEnd, &slot.waveStart,
                                      &slot.waveEnd, &slot.formula};
        for (std::size_t i = 0; i < 5; ++i)
            writeShortString(field(bytes, offset + i * kShortStringFieldSize), *texts[i]);
    }
    return bytes;
}

MathParameterBlock decodeMathParams(std::span<const std::uint8_t> params) {
    std::vector<std::uint8_t> bytes(kMathParamsSize, 0);
    std::copy_n(params.begin(), std::min(params.size(), kMathParamsSize), bytes.begin());
    MathParameterBlock block;
    ByteReader count(bytes);
    block.count = std::clamp(count.i32(), 0, kMaxFormulaSlots);
    MathConstants& constants = block.constants;
    constants.yValue = text(bytes, kConstantsOffset);
    constants.zValue = text(bytes, kConstantsOffset + kShortStringFieldSize);
    constants.yDescription = text(bytes, kConstantsOffset + 2 * kShortStringFieldSize);
    constants.zDescription = text(bytes, kConstantsOffset + 3 * kShortStringFieldSize);
    constants.allowY = bytes[kFlagsOffset] != 0;
    constants.allowZ = bytes[kFlagsOffset + 1] != 0;
    block.normalize = bytes[kFlagsOffset + 2] != 0;
    block.advancedMode = bytes[kFlagsOffset + 3] != 0;
    for (int k = 0; k < kMaxFormulaSlots; ++k) {
        const std::size_t offset = kSlotsOffset + static_cast<std::size_t>(k) * kSlotSize;
        MathSlot& slot = block.slots[static_cast<std::size_t>(k)];
        std::string* texts[] = {&slot.realStart, &slot.realEnd, &slot.waveStart, &slot.waveEnd,
                                &slot.formula};
        for (std::size_t i = 0; i < 5; ++i)
            *texts[i] = text(bytes, offset + i * kShortStringFieldSize);
    }
    return block;
}
