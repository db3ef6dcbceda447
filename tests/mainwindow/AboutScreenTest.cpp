// The texts and the picture of the About window.
#include <gtest/gtest.h>

#include "shell/AboutScreen.h"
#include "shell/SplashPicture.h"

namespace {

TEST(AboutTexts, ProgramVersionWithTwoDigitMinor) {
    EXPECT_EQ(programVersionText(1, 5), "Verzia programu: 1.05");
    EXPECT_EQ(programVersionText(3, 12), "Verzia programu: 3.12");
}

TEST(AboutTexts, DriverLineByResult) {
    EXPECT_EQ(driverVersionText(0, {9, 9}), "Ovladace nie su potrebne.");
    EXPECT_EQ(driverVersionText(1, {3, 0}), "Verzia ovladacov KelvoEpb: 3.00");
    EXPECT_EQ(driverVersionText(2, {1, 11}), "Verzia ovladacov KelvoUsb: 1.11");
    EXPECT_EQ(driverVersionText(3, {1, 0}), "Ovladace chybaju.");
    EXPECT_EQ(driverVersionText(4, {1, 0}), "");
}

TEST(AboutPicture, BandsDarkenToEightyPercentWithSoftSlantedEdges) {
    const ShadeBand band{100, 160, 50, 300, -0.5, 10};
    EXPECT_DOUBLE_EQ(shadeFactor(band, 170, 130), 0.8);
    EXPECT_DOUBLE_EQ(shadeFactor(band, 170, 20), 1.0);
    EXPECT_DOUBLE_EQ(shadeFactor(band, 10, 130), 1.0);
    // On the left edge, half way: at row 140 the edge has moved 20 columns to the left.
    EXPECT_DOUBLE_EQ(shadeFactor(band, 30, 140), 0.9);
    EXPECT_DOUBLE_EQ(shadeFactor(band, 50, 140), 0.8);
    EXPECT_DOUBLE_EQ(shadeFactor(band, 170, 100), 0.9);
}

TEST(AboutPicture, TheSplashPictureDarkenedBehindTheTexts) {
    const QImage plain = splashPicture();
    const QImage about = aboutPicture();
    ASSERT_EQ(about.size(), plain.size());
    EXPECT_EQ(about.pixel(5, 5), plain.pixel(5, 5)) << "above the bands";
    const QRgb original = plain.pixel(200, 135);
    const QRgb darkened = about.pixel(200, 135);
    EXPECT_EQ(qRed(darkened), static_cast<int>(qRed(original) * 0.8));
    EXPECT_EQ(qGreen(darkened), static_cast<int>(qGreen(original) * 0.8));
    EXPECT_EQ(qBlue(darkened), static_cast<int>(qBlue(original) * 0.8));
}

}  // namespace
