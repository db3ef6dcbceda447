#include "core/UnitFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/UserError.h"

TEST(PlainNumberText, ShortestTextThatReadsBack) {
    EXPECT_EQ(plainNumberText(1.5), "1.5");
    EXPECT_EQ(plainNumberText(25), "25");
    EXPECT_EQ(plainNumberText(0.01), "0.01");
    EXPECT_EQ(plainNumberText(-2.5), "-2.5");
    EXPECT_EQ(plainNumberText(0), "0");
    EXPECT_EQ(plainNumberText(-0.0), "0");
    EXPECT_EQ(plainNumberText(1234.5), "1234.5");
    EXPECT_EQ(plainNumberText(100), "100");
    EXPECT_EQ(plainNumberText(123456789012345.0), "123456789012345");
}

TEST(PlainNumberText, AtMostFifteenSignificantDigits) {
    EXPECT_EQ(plainNumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(plainNumberText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(plainNumberText(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(plainNumberText(9.9999999999999999e14), "1E+15");
}

TEST(PlainNumberText, ExponentOnlyForVeryLargeOrSmallValues) {
    EXPECT_EQ(plainNumberText(0.0001), "0.0001");
    EXPECT_EQ(plainNumberText(0.00012), "0.00012");
    EXPECT_EQ(plainNumberText(0.00001), "1E-5");
    EXPECT_EQ(plainNumberText(1.25e-5), "1.25E-5");
    EXPECT_EQ(plainNumberText(0.0000012), "1.2E-6");
    EXPECT_EQ(plainNumberText(1e-7), "1E-7");
    EXPECT_EQ(plainNumberText(999999999999999.0), "999999999999999");
    EXPECT_EQ(plainNumberText(1e15), "1E+15");
    EXPECT_EQ(plainNumberText(-2.5e20), "-2.5E+20");
}

TEST(PlainNumberText, NonFiniteValues) {
    EXPECT_EQ(plainNumberText(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(plainNumberText(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(plainNumberText(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(formatFrequencyShort(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(formatVoltage(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(FormatFrequencyShort, RangesAndRounding) {
    EXPECT_EQ(formatFrequencyShort(1.999), "2");
    EXPECT_EQ(formatFrequencyShort(1.5), "1.5");
    EXPECT_EQ(formatFrequencyShort(0.125), "0.12") << "ties to even at the hundredth";
    EXPECT_EQ(formatFrequencyShort(2), "2");
    EXPECT_EQ(formatFrequencyShort(2.5), "2") << "ties to even";
    EXPECT_EQ(formatFrequencyShort(3.5), "4");
    EXPECT_EQ(formatFrequencyShort(999.6), "1000") << "range chosen on the unrounded value";
    EXPECT_EQ(formatFrequencyShort(1500), "1.5k");
    EXPECT_EQ(formatFrequencyShort(999999), "1000k");
    EXPECT_EQ(formatFrequencyShort(2500000), "2.5M");
    EXPECT_EQ(formatFrequencyShort(3e9), "3G");
    EXPECT_EQ(formatFrequencyShort(1250), "1.2k");
}

TEST(FormatFrequency6, SixSignificantDigits) {
    EXPECT_EQ(formatFrequency6(0.1), "0.100000");
    EXPECT_EQ(formatFrequency6(1.5), "1.50000");
    EXPECT_EQ(formatFrequency6(123.456), "123.456");
    EXPECT_EQ(formatFrequency6(25000000), "25.0000M");
    EXPECT_EQ(formatFrequency6(1000), "1.00000k");
    EXPECT_EQ(formatFrequency6(0), "0.000000");
    EXPECT_EQ(formatFrequency6(999.9999), "1000.000") << "digits counted before rounding";
    EXPECT_EQ(formatFrequency6(123456789), "123.457M");
    EXPECT_EQ(formatFrequency6(2.5e12), "2500000M") << "no decimals left";
}

TEST(FormatFrequency6, LastDigitRoundsHalfAwayFromZero) {
    // 1/128 is exact in binary: the seventh decimal is a true tie.
    EXPECT_EQ(formatFrequency6(0.0078125), "0.007813");
    EXPECT_EQ(formatFrequency6(-0.0078125), "-0.007813");
}

TEST(DigitCount, Boundaries) {
    EXPECT_EQ(digitCount(-5), 0);
    EXPECT_EQ(digitCount(0), 0);
    EXPECT_EQ(digitCount(1), 1);
    EXPECT_EQ(digitCount(9), 1);
    EXPECT_EQ(digitCount(10), 2);
    EXPECT_EQ(digitCount(99), 2);
    EXPECT_EQ(digitCount(100), 3);
    EXPECT_EQ(digitCount(9223372036854775807), 19);
}

TEST(ParseFrequency, ValidTexts) {
    EXPECT_DOUBLE_EQ(parseFrequency("12.5 k"), 12500);
    EXPECT_DOUBLE_EQ(parseFrequency("1,5M"), 1500000);
    EXPECT_DOUBLE_EQ(parseFrequency("100"), 100);
    EXPECT_DOUBLE_EQ(parseFrequency("2 M"), 2000000);
    EXPECT_DOUBLE_EQ(parseFrequency(" 1 0 0 "), 100);
    EXPECT_DOUBLE_EQ(parseFrequency(".5"), 0.5);
}

TEST(ParseFrequency, InvalidTextsGiveMinusOne) {
    EXPECT_EQ(parseFrequency("5kHz"), -1) << "two or more unit letters";
    EXPECT_EQ(parseFrequency("5 Hz"), -1);
    EXPECT_EQ(parseFrequency("1k5"), -1) << "a digit after the unit";
    EXPECT_EQ(parseFrequency(""), -1);
    EXPECT_EQ(parseFrequency("   "), -1);
    EXPECT_EQ(parseFrequency("k"), -1);
    EXPECT_EQ(parseFrequency("5K"), -1);
    EXPECT_EQ(parseFrequency("5m"), -1);
    EXPECT_EQ(parseFrequency("1.2.3"), -1);
    EXPECT_EQ(parseFrequency("."), -1);
    EXPECT_EQ(parseFrequency("-5"), -1);
    EXPECT_EQ(parseFrequency("1e5"), -1);
}

TEST(FormatTime, RangesAndPrefixes) {
    EXPECT_EQ(formatTime(0.5), "500m");
    EXPECT_EQ(formatTime(1.25), "1.2") << "ties to even at the tenth";
    EXPECT_EQ(formatTime(2), "2");
    EXPECT_EQ(formatTime(0.0015), "1.5m");
    EXPECT_EQ(formatTime(0.00025), "250u");
    EXPECT_EQ(formatTime(1e-6), "1u") << "a typed bound belongs to the range it starts";
    EXPECT_EQ(formatTime(0.001), "1m");
    EXPECT_EQ(formatTime(1e-8), "10n");
    EXPECT_EQ(formatTime(5e-8), "50n");
    EXPECT_EQ(formatTime(2e-9), "2000p") << "the nano range ends at 1e-8";
    EXPECT_EQ(formatTime(5e-9), "5000p");
    EXPECT_EQ(formatTime(0), "0");
    EXPECT_EQ(formatTime(-0.5), "-500m");
}

TEST(FormatScaled, PrefixFromScaleDigitsFromValue) {
    EXPECT_EQ(formatScaled(1234567.25, 1), "1,234,567.2");
    EXPECT_EQ(formatScaled(1234567.25, 1, " "), "1 234 567.2");
    EXPECT_EQ(formatScaled(0.5, 2), "0.5");
    EXPECT_EQ(formatScaled(-0.5, 2), "-0.5");
    EXPECT_EQ(formatScaled(0.0015, 0.001), "1.50m");
    EXPECT_EQ(formatScaled(2.5, 0.001), "2,500.00m") << "a large value keeps the small prefix";
    EXPECT_EQ(formatScaled(3e-6, 1e-6), "3.00u");
    EXPECT_EQ(formatScaled(5e-8, 2e-8), "50.00n");
    EXPECT_EQ(formatScaled(5e-9, 1e-9), "5,000.00p");
    EXPECT_EQ(formatScaled(123, 0), "0");
    EXPECT_EQ(formatScaled(-0.001, 1), "0.0") << "no sign on a value that rounds to zero";
}

TEST(FormatVoltage, RangesSignAndZero) {
    EXPECT_EQ(formatVoltage(1.23456), "1.235");
    EXPECT_EQ(formatVoltage(-0.0125), "-12.5m");
    EXPECT_EQ(formatVoltage(0.0000505), "50.5u");
    EXPECT_EQ(formatVoltage(0), "0");
    EXPECT_EQ(formatVoltage(0.0000004), "0");
    EXPECT_EQ(formatVoltage(-0.0000004), "-0");
    EXPECT_EQ(formatVoltage(-2), "-2");
    EXPECT_EQ(formatVoltage(1), "1");
    EXPECT_EQ(formatVoltage(0.001), "1m");
    EXPECT_EQ(formatVoltage(1e-6), "1u");
}

TEST(ParseVoltage, ValidTexts) {
    EXPECT_DOUBLE_EQ(parseVoltage("2.5").value(), 2.5);
    EXPECT_DOUBLE_EQ(parseVoltage("2.5V").value(), 2.5);
    EXPECT_DOUBLE_EQ(parseVoltage("250mV").value(), 0.25);
    EXPECT_DOUBLE_EQ(parseVoltage("250m").value(), 0.25);
    EXPECT_DOUBLE_EQ(parseVoltage("-1,5 V").value(), -1.5);
    EXPECT_DOUBLE_EQ(parseVoltage("3uV").value(), 3e-6);
    EXPECT_DOUBLE_EQ(parseVoltage("7 n").value(), 7e-9);
}

TEST(ParseVoltage, InvalidTexts) {
    EXPECT_FALSE(parseVoltage("250mv")) << "lower-case v";
    EXPECT_FALSE(parseVoltage("2.5kV"));
    EXPECT_FALSE(parseVoltage("Off"));
    EXPECT_FALSE(parseVoltage(""));
    EXPECT_FALSE(parseVoltage("5V3")) << "digits after the unit are refused";
    EXPECT_FALSE(parseVoltage("1-5"));
    EXPECT_FALSE(parseVoltage("--1"));
}

TEST(ParseHex, DigitsAndFailure) {
    EXPECT_EQ(parseHex("ff"), 255u);
    EXPECT_EQ(parseHex("FF"), 255u);
    EXPECT_EQ(parseHex(""), 0u);
    EXPECT_EQ(parseHex("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(parseHex("123456789"), 0x23456789u) << "more than eight digits wrap around";
    try {
        parseHex("1g");
        FAIL() << "1g must fail";
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "Incorrect hexadecimal number");
    }
    EXPECT_THROW(parseHex(" 1"), UserError);
}

TEST(FormatByteSize, BinaryPrefixes) {
    EXPECT_EQ(formatByteSize(1536), "1.5k");
    EXPECT_EQ(formatByteSize(3000000), "2.86M");
    EXPECT_EQ(formatByteSize(512), "512");
    EXPECT_EQ(formatByteSize(1024), "1k");
    EXPECT_EQ(formatByteSize(1048576), "1M");
}

TEST(SmallTexts, VersionCommaExtensionTwoDigits) {
    EXPECT_EQ(versionText(1, 2, 30, 4), "1.2.30.4");
    EXPECT_EQ(commaToPoint("1,5,6"), "1.5.6");
    EXPECT_EQ(fileExtension("Profiles/bench.ini"), "ini");
    EXPECT_EQ(fileExtension("folder.d/name"), "") << "a point in a folder name does not count";
    EXPECT_EQ(fileExtension("C:\\waves.old\\sine"), "");
    EXPECT_EQ(fileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(fileExtension("name."), "");
    EXPECT_EQ(fileExtension("noextension"), "");
    EXPECT_EQ(twoDigits(0), "00");
    EXPECT_EQ(twoDigits(7), "07");
    EXPECT_EQ(twoDigits(10), "10");
    EXPECT_EQ(twoDigits(123), "123");
}

TEST(ParseDecimal, ShapeOfANumber) {
    EXPECT_DOUBLE_EQ(parseDecimal("  -2.5").value(), -2.5);
    EXPECT_DOUBLE_EQ(parseDecimal("+3").value(), 3);
    EXPECT_DOUBLE_EQ(parseDecimal("5.").value(), 5);
    EXPECT_DOUBLE_EQ(parseDecimal("1.5e3").value(), 1500);
    EXPECT_DOUBLE_EQ(parseDecimal("2E-2").value(), 0.02);
    EXPECT_FALSE(parseDecimal(""));
    EXPECT_FALSE(parseDecimal("-"));
    EXPECT_FALSE(parseDecimal("."));
    EXPECT_FALSE(parseDecimal("inf"));
    EXPECT_FALSE(parseDecimal("nan"));
    EXPECT_FALSE(parseDecimal("0x10"));
    EXPECT_FALSE(parseDecimal("1e"));
    EXPECT_FALSE(parseDecimal("1 "));
    EXPECT_FALSE(parseDecimal("1,5"));
    EXPECT_FALSE(parseDecimal("1e999"));
}
