// The waveform display on a picture, driven with the mouse as an operator would.
#include "panels/WaveScreen.h"

#include <gtest/gtest.h>

#include <QTest>

#include "../device/DeviceRig.h"
#include "device/VirtualGenerator.h"
#include "panels/WavePhase.h"
#include "shell/PictureBox.h"
#include "waves/PredefinedWaveforms.h"

namespace {

using Cursor = TWaveScreen::Cursor;

struct Display {
    explicit Display(int width = 500, int height = 100) {
        picture.resize(width, height);
        picture.show();
        screen.bind(picture);
    }
    int coloured(QRgb color) {
        const QImage& image = picture.image();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == color;
        return count;
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&picture, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, picture.mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&picture, &move);
        QTest::mouseRelease(&picture, Qt::LeftButton, {}, to);
    }

    TPictureBox picture;
    TWaveScreen screen;
};

WaveformRecord predefined(int slot) {
    WaveformStore store;
    resetPredefined(store, 1);
    return store.slots[static_cast<std::size_t>(slot)];
}

struct GeneratorRig {
    GeneratorRig() {
        device.driver.initByIndex[{0, 0}] = 1000;
        generator = std::make_unique<TVirtualGenerator>(*device.binding, device.state.modeSource(),
                                                        device.messages);
    }
    DeviceRig<> device{false};
    std::unique_ptr<TVirtualGenerator> generator;
};

TEST(WaveScreen, DraggedZoomRangeOfFewPointsShowsOnePointPerPixel) {
    Display display;
    const WaveformRecord sine = predefined(0);
    display.screen.setZoomAllowed(true);
    display.screen.setRecord(sine);
    int zoomEnded = 0;
    display.screen.onZoomEnded = [&] { ++zoomEnded; };

    display.screen.toggleZoomIn();
    display.drag({100, 50}, {105, 50});  // about 160 points
    EXPECT_EQ(zoomEnded, 1);
    EXPECT_EQ(display.screen.zoomMode(), TWaveScreen::ZoomMode::None);
    EXPECT_EQ(display.screen.view().lastIndex, display.screen.view().xToIndex(0) + 499);
    EXPECT_EQ(display.screen.view().lastIndex, 3440);

    display.screen.zoomOut();
    display.screen.zoomFull();
    EXPECT_TRUE(display.screen.view().whole());
    // Zoom modes do nothing on a display that does not allow zooming.
    Display fixed;
    fixed.screen.setRecord(sine);
    fixed.screen.toggleZoomMax();
    EXPECT_EQ(fixed.screen.zoomMode(), TWaveScreen::ZoomMode::None);
}

TEST(WaveScreen, CursorsAreInvertedOnTheActiveDisplayOnly) {
    Display a;
    Display b;
    const WaveformRecord sine = predefined(0);
    for (Display* each : {&a, &b}) {
        each->screen.setAllCursorsEnabled(true);
        each->screen.setTraceColor(qRgb(0, 255, 0));
        each->screen.setZeroLineShown(true);
        each->screen.setRecord(sine);
    }
    const QImage withoutCursors = a.picture.image().copy();
    EXPECT_GT(a.coloured(0x00FF00), 400);
    EXPECT_EQ(a.coloured(0xFF0000), 0);

    a.screen.activate();
    EXPECT_GT(a.coloured(0xFF0000), 100);
    b.screen.activate();  // only one display is active
    EXPECT_FALSE(a.screen.isActive());
    EXPECT_EQ(a.picture.image(), withoutCursors);

    // Shown by the owner while values change, then removed again.
    a.screen.showCursors();
    EXPECT_GT(a.coloured(0x0000FF), 100);
    a.screen.hideCursors();
    EXPECT_EQ(a.picture.image(), withoutCursors);
}

TEST(WaveScreen, PressNearACursorDragsItAndReportsTheMove) {
    Display display;
    display.screen.setAllCursorsEnabled(true);
    display.screen.setRecord(predefined(0));
    int moved = 0;
    display.screen.onCursorMoved = [&] { ++moved; };
    display.screen.activate();
    const int v1 = display.screen.cursorPixel(Cursor::V1);
    display.drag({v1 + 4, 50}, {300, 50});
    EXPECT_EQ(display.screen.cursorPixel(Cursor::V1), 300);
    EXPECT_EQ(display.screen.cursors().x1, display.screen.view().xToIndex(300));
    EXPECT_GE(moved, 1);
    // Away from every cursor a drag of the whole record pans nothing.
    display.drag({200, 10}, {250, 10});
    EXPECT_TRUE(display.screen.view().whole());
}

TEST(WaveScreen, RangeCursorOffTheViewIsRecentredByItsArrow) {
    Display display;
    display.screen.setZoomAllowed(true);
    display.screen.setRangeCursorsShown(true);
    display.screen.setRecord(predefined(0));
    display.screen.setRangeCursor(1, 100);
    display.screen.setRangeCursor(2, 12000);
    display.screen.toggleZoomMax();
    display.drag({250, 50}, {250, 50});  // one point per pixel about the middle
    ASSERT_EQ(display.screen.rangeCursorSide(1), TWaveScreen::Side::Left);
    ASSERT_EQ(display.screen.rangeCursorSide(2), TWaveScreen::Side::Right);
    EXPECT_GT(display.coloured(0xFFFF00), 0);  // the arrow head

    display.drag({5, 99 - 40}, {6, 99 - 40});
    EXPECT_EQ(display.screen.rangeCursorSide(1), TWaveScreen::Side::OnScreen);
    EXPECT_EQ(display.screen.view().firstIndex, 0);
    EXPECT_EQ(display.screen.view().xSpan(), 499);

    int reported = 0;
    display.screen.onRangeCursorMoved = [&](int number) { reported = number; };
    const int x = display.screen.view().indexToX(100);
    display.drag({x + 3, 50}, {400, 50});
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(display.screen.rangeCursor(1), display.screen.view().xToIndex(400));
}

TEST(WaveScreen, LinkedPairDragsChannelBAgainstA) {
    GeneratorRig rig;
    rig.generator->ChangeFrequency(1000);
    rig.generator->ChangeMultiplier(2);
    Display a(332, 122);
    Display b(332, 122);
    const WaveformRecord sine = predefined(0);
    a.screen.setRecord(sine);
    b.screen.setGenerator(rig.generator.get(), 1, false);
    b.screen.setPhaseShown(true);
    b.screen.setRecord(sine);
    a.screen.followMaster(b.screen);

    b.screen.setPhase(8192);
    EXPECT_EQ(b.screen.phase(), -8191);  // a multiple of 2, wrapped by the record's span
    b.screen.setPhase(0);

    // Without the grab a drag on A is A's own.
    a.drag({100, 60}, {150, 60});
    EXPECT_EQ(b.screen.phase(), 0);
    a.screen.setPhaseGrab(true);
    b.screen.setPhaseGrab(true);
    int changes = 0;
    b.screen.onPhaseChanged = [&] { ++changes; };
    a.drag({100, 60}, {150, 60});  // to the right: B is delayed
    const int dragged = b.screen.phase();
    EXPECT_EQ(dragged,
              roundPhase(b.screen.view().xToIndex(100) - b.screen.view().xToIndex(150), 2));
    EXPECT_EQ(a.screen.phase(), 0);
    EXPECT_GE(changes, 1);

    // The bottom-left arrow steps one quantum.
    QTest::mousePress(&b.picture, Qt::LeftButton, {}, QPoint(3, 115));
    QTest::mouseRelease(&b.picture, Qt::LeftButton, {}, QPoint(3, 115));
    EXPECT_EQ(b.screen.phase(), dragged + 2);
}

TEST(WaveScreen, RealViewAndZeroMark) {
    Display display;
    const WaveformRecord saw = predefined(1);
    display.screen.setStep(4);
    display.screen.setRecord(saw);
    const std::vector<std::uint8_t>& shown = display.screen.shown().points;
    ASSERT_EQ(shown.size(), 16384u);
    EXPECT_TRUE(std::equal(shown.begin(), shown.begin() + 4096, shown.begin() + 12288));
    EXPECT_EQ(display.screen.source(), &saw);
    display.screen.setStep(1);
    EXPECT_EQ(display.screen.shown().points, saw.points);

    display.screen.setZeroMark(-10);
    EXPECT_EQ(display.screen.view().minValue, -10);
    EXPECT_EQ(display.screen.view().maxValue, 255);
    display.screen.setZeroMark(0);
    EXPECT_EQ(display.screen.view().minValue, 1);
}

TEST(WaveScreen, ToolAndStrokeCopiesUndoTheHandEditorsDrawing) {
    Display display;
    display.screen.setRecord(predefined(0));
    display.screen.takeToolCopy();
    display.screen.editableShown().points[10] = 1;
    display.screen.takeStrokeCopy();
    display.screen.editableShown().points[20] = 1;
    display.screen.restoreStrokeCopy();
    EXPECT_EQ(display.screen.shown().points[20], predefined(0).points[20]);
    EXPECT_EQ(display.screen.shown().points[10], 1);
    display.screen.restoreToolCopy();
    EXPECT_EQ(display.screen.shown().points, predefined(0).points);
}

}  // namespace
