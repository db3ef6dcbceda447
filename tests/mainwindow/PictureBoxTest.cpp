// The picture widget: an image of its own size that the owners draw into, and the mouse
// reported in image pixels.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "shell/PictureBox.h"

namespace {

TEST(PictureBox, ImageHasTheWidgetsSizeBeforeItIsShown) {
    TPictureBox box;
    box.setGeometry(0, 0, 120, 40);
    EXPECT_EQ(box.image().size(), QSize(120, 40));
    EXPECT_EQ(box.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(box.image().pixel(5, 5), qRgb(0, 0, 0));
}

TEST(PictureBox, ResizingKeepsWhatWasDrawn) {
    TPictureBox box;
    box.resize(50, 30);
    box.image().setPixel(10, 20, qRgb(0, 255, 0));
    box.resize(80, 60);
    EXPECT_EQ(box.image().size(), QSize(80, 60));
    EXPECT_EQ(box.image().pixel(10, 20), qRgb(0, 255, 0));
    EXPECT_EQ(box.image().pixel(70, 50), qRgb(0, 0, 0));
}

TEST(PictureBox, ReportsTheMouseToItsOwner) {
    TPictureBox box;
    box.resize(100, 100);
    box.show();
    QSignalSpy pressed(&box, &TPictureBox::mousePressed);
    QSignalSpy moved(&box, &TPictureBox::mouseMoved);
    QSignalSpy released(&box, &TPictureBox::mouseReleased);
    QSignalSpy doubleClicked(&box, &TPictureBox::mouseDoubleClicked);

    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 12));
    QTest::mouseMove(&box, QPoint(30, 40));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, QPoint(31, 41));
    QTest::mouseDClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));

    ASSERT_GE(pressed.count(), 1);
    EXPECT_EQ(pressed.first().at(0).toPoint(), QPoint(10, 12));
    EXPECT_EQ(pressed.first().at(1).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(pressed.first().at(2).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    ASSERT_GE(moved.count(), 1);
    EXPECT_EQ(moved.first().at(0).toPoint(), QPoint(30, 40));
    ASSERT_GE(released.count(), 1);
    EXPECT_EQ(released.first().at(0).toPoint(), QPoint(31, 41));
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.first().at(0).toPoint(), QPoint(5, 6));
}

}  // namespace
