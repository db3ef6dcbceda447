#include "panels/FreqScreen.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QScrollBar>
#include <QTest>

#include "PanelRig.h"
#include "device/VirtualDriverFeedbackScreen.h"
#include "shell/PictureBox.h"

namespace {

// The analog panel on its controls, as the start-up leaves it, with the driver's record
// cleared.
struct AnalogPanel : PanelRig {
    AnalogPanel() {
        panel.attach(*generator, ModeAnalog, TFreqScreen::analogControls(*ui));
        driver.forget();
    }
    std::vector<std::string> frequencies() const { return driver.callsNamed("SetFrequency"); }
    void type(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // A press at x, a move to x (unless `to` differs) and the release.
    void drag(int x, int y, int to = -1, Qt::MouseButton button = Qt::LeftButton) {
        TPictureBox* image = ui->FreqImage;
        Q_EMIT image->mousePressed(QPoint(x, y), button, Qt::NoModifier);
        if (to >= 0) Q_EMIT image->mouseMoved(QPoint(to, y), button, Qt::NoModifier);
        Q_EMIT image->mouseReleased(QPoint(to, y), button, Qt::NoModifier);
    }

    TFreqScreen panel{TFreqScreen::AnalogMinFrequency, TFreqScreen::AnalogMaxFrequency, false};
};

}  // namespace

TEST(FreqScreen, TypedFrequencyMovesTheRedMarkerAndReachesTheDeviceWithSet) {
    AnalogPanel rig;
    rig.type(rig.ui->FreqEdit, "10 k");
    EXPECT_EQ(rig.panel.programFrequency(), 10000);
    EXPECT_EQ(rig.panel.markerPixel(), rig.panel.scale().roundedPixelOf(10000));
    EXPECT_TRUE(rig.frequencies().empty()) << "typing alone sends nothing, even in Con mode";
    EXPECT_EQ(rig.ui->RealFreqEdit->text(), "589.824k");
    rig.ui->SetFreqBtn->click();
    EXPECT_EQ(rig.frequencies(), std::vector<std::string>{"SetFrequency(10000)"});
    // The recording instrument produces multiples of 3 Hz.
    EXPECT_EQ(rig.ui->RealFreqEdit->text(), "9.99900k");

    for (const char* refused : {"0.05", "30M", "12 Hz"}) {
        rig.type(rig.ui->FreqEdit, refused);
        EXPECT_EQ(rig.panel.programFrequency(), 10000) << refused;
        EXPECT_EQ(rig.ui->FreqEdit->text(), "10.0000k") << refused;
    }
}

TEST(FreqScreen, MultiplierThreeIsHatchedAboveItsLimitMarkedOddAndGreyUntilUploaded) {
    AnalogPanel rig;
    rig.binding->feedbackForm()->FreqTimer()->setInterval(20);
    rig.panel.setFrequency(1000000);
    rig.type(rig.ui->FreqBEdit, "3");
    EXPECT_EQ(rig.generator->multiplier(), 3);
    EXPECT_DOUBLE_EQ(rig.panel.ratioLimit(), 6249999.9);
    EXPECT_EQ(rig.ui->FreqBResult->text(), "3.00000M!");
    EXPECT_EQ(textColour(rig.ui->FreqBResult), QColor(0xFF, 0x0A, 0x00));
    EXPECT_EQ(textColour(rig.ui->FreqBEdit), QColor(0x80, 0x80, 0x80)) << "upload deferred";
    QTRY_COMPARE(textColour(rig.ui->FreqBEdit), QColor(0xFF, 0x0A, 0x00));

    const QImage& image = rig.ui->FreqImage->image();
    const int limit = rig.panel.scale().roundedPixelOf(rig.panel.ratioLimit());
    EXPECT_GT(pixelsOf(image, 0x0000FF, limit + 1, 439), 50) << "hatched above";
    EXPECT_EQ(pixelsOf(image, 0x0000FF, 15, limit - 1), 0);

    rig.drag(rig.panel.markerPixel(), 20, 430);
    EXPECT_DOUBLE_EQ(rig.panel.programFrequency(), 6249999.9) << "the marker stops there";

    rig.type(rig.ui->FreqBEdit, "4");
    EXPECT_FALSE(rig.ui->FreqBResult->text().endsWith('!'));
    EXPECT_EQ(textColour(rig.ui->FreqBResult), QColor(0x00, 0x00, 0xFF));
    rig.type(rig.ui->FreqBEdit, "x");
    EXPECT_EQ(rig.ui->FreqBEdit->text(), "4") << "not a number: ignored";
    rig.ui->RatioUpBtn->click();
    EXPECT_EQ(rig.panel.ratio(), 4) << "held to what 6.25 MHz allows";
}

TEST(FreqScreen, RightButtonDragPansWithoutMovingTheMarker) {
    AnalogPanel rig;
    // Marks on the 1 kHz and 1 MHz ticks, then zoom in.
    rig.drag(rig.panel.scale().roundedPixelOf(1000), 20);
    rig.drag(rig.panel.scale().roundedPixelOf(1000000), 20);
    rig.ui->ZoomToBtn->click();
    EXPECT_EQ(rig.panel.scale().viewLow(), 1000);
    rig.drag(200, 20, 100, Qt::RightButton);
    EXPECT_GT(rig.panel.scale().viewLow(), 1000);
    EXPECT_EQ(rig.panel.programFrequency(), 589824);
    EXPECT_EQ(rig.panel.markerPixel(), rig.panel.scale().roundedPixelOf(589824));
    EXPECT_TRUE(rig.frequencies().empty());
}

TEST(FreqScreen, StepModeSendsOnlyWithSetAndHeldArrowsRepeat) {
    AnalogPanel rig;
    rig.ui->StepFreqBtn->click();
    // A press in the label strip sets the marker there; the fine bar nudges it.
    rig.drag(100, 60);
    EXPECT_EQ(rig.panel.markerPixel(), 100);
    rig.ui->FineBar->setValue(130);
    EXPECT_DOUBLE_EQ(rig.panel.programFrequency(), rig.panel.scale().frequencyAt(100.3));
    EXPECT_TRUE(rig.frequencies().empty());
    rig.ui->SetFreqBtn->click();
    EXPECT_EQ(rig.frequencies().size(), 1u);

    rig.ui->ConFreqBtn->click();
    Q_EMIT rig.ui->FreqImage->mousePressed(QPoint(5, 20), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(rig.panel.markerPixel(), 99) << "the first step at once";
    QTRY_VERIFY(rig.panel.markerPixel() <= 97);
    Q_EMIT rig.ui->FreqImage->mouseReleased(QPoint(5, 20), Qt::LeftButton, Qt::NoModifier);
    const int stopped = rig.panel.markerPixel();
    QTest::qWait(3 * AutoRepeat::IntervalMs);
    EXPECT_EQ(rig.panel.markerPixel(), stopped);
    EXPECT_EQ(rig.frequencies().size(), static_cast<std::size_t>(1 + 100 - stopped))
        << "Con sends every step";
}

TEST(FreqScreen, WindowChosenSymmetricallyAboutTheMarker) {
    AnalogPanel rig;
    rig.panel.setFrequency(10000000);
    rig.ui->LinAdvBtn->click();
    const int marker = rig.panel.scale().roundedPixelOf(10000000);
    Q_EMIT rig.ui->FreqImage->mouseMoved(QPoint(marker - 40, 20), Qt::NoButton, Qt::NoModifier);
    rig.drag(marker - 40, 20);
    EXPECT_EQ(rig.panel.scaleMode(), 2);
    EXPECT_NEAR(rig.panel.scale().viewLow() + rig.panel.scale().viewHigh(), 20000000, 1e-6);
    EXPECT_EQ(rig.panel.programFrequency(), 10000000) << "the fixing press sets nothing else";
    rig.ui->LogFreqBtn->click();
    EXPECT_EQ(rig.panel.scale().viewLow(), 0.1);
}

TEST(FreqScreen, TickPanelSetsItsOwnModesFrequency) {
    PanelRig rig;
    TFreqScreen tick(TFreqScreen::TickMinFrequency, TFreqScreen::TickMaxFrequency, true);
    tick.attach(*rig.generator, ModeDigital, TFreqScreen::digitalTickControls(*rig.ui));
    EXPECT_TRUE(tick.setFrequency(4000));
    EXPECT_EQ(rig.generator->digitalTickFrequency(), 3999);
    EXPECT_EQ(rig.generator->frequency(), 0) << "the analog frequency is left alone";
    EXPECT_FALSE(tick.setFrequency(60000000));
    EXPECT_NEAR(tick.deviceFrequency(), 50000000, 4) << "held to the range when sent";
}
