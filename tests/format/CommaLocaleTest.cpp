// The number texts must not follow a locale whose decimal separator is ",".
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "core/UnitFormat.h"

namespace {

class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "sk_SK.UTF-8", "sk_SK.utf8"}) {
            if (std::setlocale(LC_ALL, name) == nullptr) continue;
            try {
                previousGlobal_ = std::locale::global(std::locale(name));
            } catch (const std::runtime_error&) {
                continue;
            }
            active_ = true;
            return;
        }
        GTEST_SKIP() << "no locale with a decimal comma is installed (scripts/setup.sh makes "
                        "de_DE.UTF-8)";
    }
    void TearDown() override {
        if (active_) std::locale::global(previousGlobal_);
        std::setlocale(LC_ALL, previous_.c_str());
    }

private:
    std::string previous_;
    std::locale previousGlobal_;
    bool active_ = false;
};

}  // namespace

TEST_F(CommaLocale, FormattersWriteAPoint) {
    ASSERT_EQ(std::localeconv()->decimal_point, std::string(",")) << "the locale is active";
    EXPECT_EQ(plainNumberText(1.5), "1.5");
    EXPECT_EQ(plainNumberText(1e-7), "1E-7");
    EXPECT_EQ(formatFrequencyShort(1500), "1.5k");
    EXPECT_EQ(formatFrequency6(123.456), "123.456");
    EXPECT_EQ(formatTime(0.0015), "1.5m");
    EXPECT_EQ(formatScaled(1234567.25, 1), "1,234,567.2");
    EXPECT_EQ(formatVoltage(-0.0125), "-12.5m");
    EXPECT_EQ(formatByteSize(3000000), "2.86M");
}

TEST_F(CommaLocale, ParsersReadAPointAndAComma) {
    EXPECT_DOUBLE_EQ(parseFrequency("12.5k"), 12500);
    EXPECT_DOUBLE_EQ(parseFrequency("12,5k"), 12500);
    EXPECT_DOUBLE_EQ(parseVoltage("2.5V").value(), 2.5);
    EXPECT_DOUBLE_EQ(parseDecimal("0.25").value(), 0.25);
    EXPECT_FALSE(parseDecimal("0,25"));
}
