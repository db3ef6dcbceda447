#include "generators/MathParameterBlock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string fieldAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset) + 1,
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset) + 1 + bytes[offset]);
}

}  // namespace

TEST(MathParameterBlock, ByteLayout) {
    MathParameterBlock block;
    block.count = 2;
    block.constants.allowY = true;
    block.constants.yValue = "1.5";
    block.constants.zValue = "z text";
    block.constants.yDescription = "Amplitude";
    block.constants.zDescription = "Offset";
    block.normalize = false;
    block.advancedMode = true;
    block.slots[1].formula = "cos(x)";
    block.slots[15].waveEnd = "50%";

    const std::vector<std::uint8_t> bytes = encodeMathParams(block);
    ASSERT_EQ(bytes.size(), 21512u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4)),
              (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(fieldAt(bytes, 4), "1.5");
    EXPECT_EQ(fieldAt(bytes, 260), "z text");
    EXPECT_EQ(fieldAt(bytes, 516), "Amplitude");
    EXPECT_EQ(fieldAt(bytes, 772), "Offset");
    EXPECT_EQ(bytes[1028], 1) << "allow y";
    EXPECT_EQ(bytes[1029], 0) << "allow z";
    EXPECT_EQ(bytes[1030], 0) << "normalize";
    EXPECT_EQ(bytes[1031], 1) << "advanced mode";
    EXPECT_EQ(fieldAt(bytes, 1032), "0") << "slot 0 real start";
    EXPECT_EQ(fieldAt(bytes, 1032 + 256), "2*pi");
    EXPECT_EQ(fieldAt(bytes, 1032 + 512), "0");
    EXPECT_EQ(fieldAt(bytes, 1032 + 768), "16383");
    EXPECT_EQ(fieldAt(bytes, 1032 + 1024), "sin(x)");
    EXPECT_EQ(fieldAt(bytes, 1032 + 1280 + 1024), "cos(x)");
    EXPECT_EQ(fieldAt(bytes, 1032 + 15 * 1280 + 768), "50%");

    EXPECT_EQ(decodeMathParams(bytes), block);
}

TEST(MathParameterBlock, LongTextsAreCutAndDamagedBlocksRead) {
    MathParameterBlock block;
    block.slots[0].formula = std::string(300, '1');
    const MathParameterBlock read = decodeMathParams(encodeMathParams(block));
    EXPECT_EQ(read.slots[0].formula, std::string(255, '1'));

    std::vector<std::uint8_t> shortBlock = {99, 0, 0, 0, 3, 'a', 'b', 'c'};
    const MathParameterBlock fromShort = decodeMathParams(shortBlock);
    EXPECT_EQ(fromShort.count, 16) << "a count past 16 is limited";
    EXPECT_EQ(fromShort.constants.yValue, "abc");
    EXPECT_EQ(fromShort.slots[0].formula, "");
    EXPECT_FALSE(fromShort.normalize);

    std::vector<std::uint8_t> negative = {0xFD, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(decodeMathParams(negative).count, 0);
}
