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
struct AnalogPanel : PanelRig<> {
    AnalogPanel() {
        panel.attach(*generator, ModeAnalog, TFreqScreen::analogControls(*ui));
        driver.forget();
    }
    std::vector<std::string> frequencies() const { return driver.callsNamed("SetFrequency"); }
    void type(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        Q_EMIT ui->FreqImage->mousePressed(QPoint(x, y), button, Qt::NoModifier);
    }
    void move(int x, int y) {
        Q_EMIT ui->FreqImage->mouseMoved(QPoint(x, y), Qt::LeftButton, Qt::NoModifier);
    }
    void release(int x, int y) {
        Q_EMIT ui->FreqImage->mouseReleased(QPoint(x, y), Qt::LeftButton, Qt::NoModifier);
    }

    TFreqScreen panel{TFreqScreen::AnalogMinFrequency, TFreqScreen::AnalogMaxFrequency, false};
};

}  // namespace

TEST(FreqScreen, TypedFrequencyMovesTheRedMarkerAndReachesTheDeviceWithSet) {
    AnalogPanel rig;
    EXPECT_EQ(rig.ui->FreqEdit->text(), "589.824k");
    rig.type(rig.ui->FreqEdit, "10 k");
    EXPECT_EQ(rig.panel.programFrequency(), 10000);
    EXPECT_EQ(rig.panel.markerPixel(), rig.panel.scale().roundedPixelOf(10000));
    EXPECT_EQ(rig.ui->FreqEdit->text(), "10.0000k");
    EXPECT_TRUE(rig.frequencies().empty()) << "typing alone sends nothing, even in Con mode";
    EXPECT_EQ(rig.ui->RealFreqEdit->text(), "589.824k");

    rig.ui->SetFreqBtn->click();
    EXPECT_EQ(rig.frequencies(), std::vector<std::string>{"SetFrequency(10000)"});
    // The recording instrument produces multiples of 3 Hz.
    EXPECT_EQ(rig.panel.deviceFrequency(), 9999);
    EXPECT_EQ(rig.ui->RealFreqEdit->text(), "9.99900k");

    for (const char* refused : {"0.05", "30M", "12 Hz", "abc"}) {
        rig.type(rig.ui->FreqEdit, refused);
        EXPECT_EQ(rig.panel.programFrequency(), 10000) << refused;
        EXPECT_EQ(rig.ui->FreqEdit->text(), "10.0000k") << refused;
    }
    EXPECT_EQ(rig.frequencies().size(), 1u);
}

TEST(FreqScreen, MultiplierThreeIsHatchedAboveItsLimitAndMarkedOdd) {
    AnalogPanel rig;
    rig.panel.setFrequency(1000000);
    rig.type(rig.ui->FreqBEdit, "3");
    EXPECT_EQ(rig.generator->multiplier(), 3);
    EXPECT_DOUBLE_EQ(rig.panel.ratioLimit(), 6249999.9);
    EXPECT_EQ(rig.ui->FreqBResult->text(), "3.00000M!");
    EXPECT_EQ(textColour(rig.ui->FreqBResult), QColor(0xFF, 0x0A, 0x00));

    const QImage& image = rig.ui->FreqImage->image();
    const int limit = rig.panel.scale().roundedPixelOf(rig.panel.ratioLimit());
    EXPECT_GT(pixelsOf(image, 0x0000FF, limit + 1, 439), 50) << "hatched above";
    EXPECT_EQ(pixelsOf(image, 0x0000FF, 15, limit - 1), 0);

    // Dragging the marker stops at the limit.
    rig.press(rig.panel.markerPixel(), 20);
    rig.move(430, 20);
    rig.release(430, 20);
    EXPECT_DOUBLE_EQ(rig.panel.programFrequency(), 6249999.9);

    rig.type(rig.ui->FreqBEdit, "4");
    EXPECT_DOUBLE_EQ(rig.panel.ratioLimit(), 6249999.9);
    EXPECT_FALSE(rig.ui->FreqBResult->text().endsWith('!'));
    EXPECT_EQ(textColour(rig.ui->FreqBResult), QColor(0x00, 0x00, 0xFF));
    rig.type(rig.ui->FreqBEdit, "x");
    EXPECT_EQ(rig.ui->FreqBEdit->text(), "4") << "not a number: ignored";
    rig.type(rig.ui->FreqBEdit, "250");
    EXPECT_EQ(rig.panel.ratio(), 4) << "99 at most, then held to what 6.25 MHz allows";
}

TEST(FreqScreen, RaisingTheMultiplierAtAHighFrequencyLowersItAgain) {
    AnalogPanel rig;
    rig.panel.setFrequency(10000000);
    rig.ui->RatioUpBtn->click();
    EXPECT_EQ(rig.panel.ratio(), 2);
    rig.ui->RatioUpBtn->click();
    EXPECT_EQ(rig.panel.ratio(), 2) << "trunc(25 MHz / 10 MHz)";
    EXPECT_EQ(rig.ui->FreqBEdit->text(), "2");
    rig.ui->RatioDownBtn->click();
    rig.ui->RatioDownBtn->click();
    EXPECT_EQ(rig.panel.ratio(), 1);
}

TEST(FreqScreen, ChannelBMultiplierIsGreyWhileItsUploadIsDeferred) {
    AnalogPanel rig;
    rig.binding->feedbackForm()->FreqTimer()->setInterval(20);
    rig.type(rig.ui->FreqBEdit, "2");
    EXPECT_NE(rig.binding->waveQueueState(), 0);
    EXPECT_EQ(textColour(rig.ui->FreqBEdit), QColor(0x80, 0x80, 0x80));
    QTRY_COMPARE(textColour(rig.ui->FreqBEdit), QColor(0x00, 0x00, 0xFF));
}

TEST(FreqScreen, ZoomOutAtTheFullRangeChangesNothing) {
    AnalogPanel rig;
    rig.ui->ZoomOutBtn->click();
    EXPECT_EQ(rig.panel.scale().viewLow(), 0.1);
    EXPECT_EQ(rig.panel.scale().viewHigh(), 25000000);
}

TEST(FreqScreen, RightButtonDragPansWithoutMovingTheMarker) {
    AnalogPanel rig;
    // Marks on the 1 kHz and 1 MHz ticks, then zoom in.
    rig.press(rig.panel.scale().roundedPixelOf(1000), 20);
    rig.press(rig.panel.scale().roundedPixelOf(1000000), 20);
    rig.ui->ZoomToBtn->click();
    EXPECT_EQ(rig.panel.scale().viewLow(), 1000);
    const double marker = rig.panel.programFrequency();

    rig.press(200, 20, Qt::RightButton);
    rig.move(100, 20);
    rig.release(100, 20);
    EXPECT_GT(rig.panel.scale().viewLow(), 1000);
    EXPECT_EQ(rig.panel.programFrequency(), marker);
    EXPECT_EQ(rig.panel.markerPixel(), rig.panel.scale().roundedPixelOf(marker));
    EXPECT_TRUE(rig.frequencies().empty());
}

TEST(FreqScreen, StepModeSendsOnlyWithSet) {
    AnalogPanel rig;
    rig.ui->StepFreqBtn->click();
    EXPECT_FALSE(rig.panel.continuous());
    // A press in the label strip sets the marker there; the fine bar nudges it.
    rig.press(100, 60);
    rig.release(100, 60);
    EXPECT_EQ(rig.panel.markerPixel(), 100);
    rig.ui->FineBar->setValue(150);
    EXPECT_DOUBLE_EQ(rig.panel.programFrequency(), rig.panel.scale().frequencyAt(100.5));
    EXPECT_TRUE(rig.frequencies().empty());
    rig.ui->SetFreqBtn->click();
    EXPECT_EQ(rig.frequencies().size(), 1u);

    rig.ui->ConFreqBtn->click();
    rig.press(200, 60);
    rig.release(200, 60);
    EXPECT_EQ(rig.frequencies().size(), 2u) << "Con sends every change";
}

TEST(FreqScreen, HeldArrowRepeatsUntilReleased) {
    AnalogPanel rig;
    const int start = rig.panel.markerPixel();
    rig.press(5, 20);
    EXPECT_EQ(rig.panel.markerPixel(), start - 1) << "the first step at once";
    QTRY_VERIFY(rig.panel.markerPixel() <= start - 3);
    rig.release(5, 20);
    const int stopped = rig.panel.markerPixel();
    QTest::qWait(3 * AutoRepeat::IntervalMs);
    EXPECT_EQ(rig.panel.markerPixel(), stopped);
}

TEST(FreqScreen, WindowChosenSymmetricallyAboutTheMarker) {
    AnalogPanel rig;
    rig.panel.setFrequency(10000000);
    rig.ui->LinAdvBtn->click();
    EXPECT_TRUE(rig.panel.scale().linear());
    const int marker = rig.panel.scale().roundedPixelOf(10000000);
    rig.move(marker - 40, 20);
    rig.press(marker - 40, 20);
    EXPECT_EQ(rig.panel.scaleMode(), 2);
    EXPECT_TRUE(rig.ui->LinAdvBtn->isChecked());
    EXPECT_NEAR(rig.panel.scale().viewLow() + rig.panel.scale().viewHigh(), 20000000, 1e-6);
    EXPECT_EQ(rig.panel.programFrequency(), 10000000) << "the fixing press sets nothing else";
    const double low = rig.panel.scale().viewLow();
    rig.ui->ZoomOutBtn->click();
    EXPECT_EQ(rig.panel.scale().viewLow(), low);
    rig.ui->LogFreqBtn->click();
    EXPECT_FALSE(rig.panel.scale().linear());
    EXPECT_EQ(rig.panel.scale().viewLow(), 0.1);
}

TEST(FreqScreen, TickPanelSetsItsOwnModesFrequency) {
    PanelRig<> rig;
    TFreqScreen tick(TFreqScreen::TickMinFrequency, TFreqScreen::TickMaxFrequency, true);
    tick.attach(*rig.generator, ModeDigital, TFreqScreen::digitalTickControls(*rig.ui));
    EXPECT_EQ(rig.generator->digitalTickFrequency(), 589824);
    EXPECT_TRUE(tick.setFrequency(4000));
    EXPECT_EQ(rig.generator->digitalTickFrequency(), 3999);
    EXPECT_EQ(rig.generator->frequency(), 0) << "the analog frequency is left alone";
    EXPECT_FALSE(tick.setFrequency(60000000));
    EXPECT_NEAR(tick.deviceFrequency(), 50000000, 4) << "held to the range when sent";
    EXPECT_EQ(tick.scale().majorTicks()[1], 10000);
}
