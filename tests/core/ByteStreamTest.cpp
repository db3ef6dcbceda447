#include "core/ByteStream.h"

#include <gtest/gtest.h>

#include "core/UserError.h"

TEST(ByteStream, WritesLittleEndianAndReadsBack) {
    ByteWriter out;
    out.u8(0xAB);
    out.u16(0x1234);
    out.i32(-2);
    out.f64(0.5);
    const std::vector<std::uint8_t> expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF,
                                                0,    0,    0,    0,    0,    0,    0xE0, 0x3F};
    EXPECT_EQ(out.bytes(), expected);

    ByteReader in(out.bytes());
    EXPECT_EQ(in.u8(), 0xAB);
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.i32(), -2);
    EXPECT_EQ(in.f64(), 0.5);
    EXPECT_TRUE(in.atEnd());
}

TEST(ByteStream, ReadingPastTheEndIsAnInvalidFile) {
    const std::vector<std::uint8_t> three = {1, 2, 3};
    ByteReader in(three);
    EXPECT_THROW(in.u32(), InvalidFile);
    EXPECT_EQ(in.position(), 0u) << "a failed read consumes nothing";
    EXPECT_THROW(in.take(4), InvalidFile);
    EXPECT_EQ(in.take(3).size(), 3u);
}

TEST(ByteStream, StringEncodingAndItsLimits) {
    ByteWriter out;
    writeString(out, "Sine");
    EXPECT_EQ(out.bytes(), (std::vector<std::uint8_t>{4, 0, 0, 0, 'S', 'i', 'n', 'e'}));

    // A longer text is written cut to the limit, so that it reads back.
    ByteWriter limit;
    writeString(limit, std::string(1500, 'x'));
    ByteReader atLimit(limit.bytes());
    EXPECT_EQ(readString(atLimit).size(), 1024u);
    EXPECT_TRUE(atLimit.atEnd());

    ByteWriter tooLong;
    tooLong.i32(1025);
    tooLong.raw(std::string(1025, 'x').data(), 1025);
    ByteReader overLimit(tooLong.bytes());
    EXPECT_THROW(readString(overLimit), InvalidFile);

    ByteWriter negative;
    negative.i32(-7);
    ByteReader emptyText(negative.bytes());
    EXPECT_EQ(readString(emptyText), "");
    EXPECT_TRUE(emptyText.atEnd());

    ByteWriter shortText;
    shortText.i32(10);
    shortText.raw("abc", 3);
    ByteReader truncated(shortText.bytes());
    EXPECT_THROW(readString(truncated), InvalidFile);
}
