// The square-wave, modulation, noise and hand editors, worked through their controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>

#include "RecordingMessages.h"
#include "generators/AModulationScreen.h"
#include "generators/HandScreen.h"
#include "generators/NoiseScreen.h"
#include "generators/SquareScreen.h"
#include "shell/MessageBox.h"
#include "shell/PictureBox.h"
#include "ui_AModulationScreen.h"
#include "ui_HandScreen.h"
#include "ui_NoiseScreen.h"
#include "ui_SquareScreen.h"
#include "waves/PredefinedWaveforms.h"

namespace {

const QColor Red(0xFF, 0x00, 0x00);

EditorContext channelAt(double frequency, int sampleStep) {
    EditorContext context;
    context.frequency = frequency;
    context.sampleStep = sampleStep;
    context.levelMillivolts = 2540;
    return context;
}

// The hand editor on a flat waveform, drawn on with the mouse.
struct HandEditor {
    HandEditor() : form(untitledWaveform(), channelAt(1000, 1)) {
        form.show();
        QApplication::setActiveWindow(&form);
    }
    Ui::THandForm& ui() { return form.controls(); }
    const std::vector<std::uint8_t>& points() { return form.display().shown().points; }
    // The point index and value under a pixel of the drawing surface.
    int at(int x) const { return const_cast<THandForm&>(form).display().view().xToIndex(x); }
    int value(int y) const { return const_cast<THandForm&>(form).display().view().yToValue(y); }

    void send(QEvent::Type type, QPoint position, Qt::MouseButtons held) {
        QMouseEvent event(type, position, ui().WaveImage->mapToGlobal(position),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(ui().WaveImage, &event);
    }
    // Press at the first point, move through the others, release at the last.
    void drag(std::initializer_list<QPoint> path) {
        send(QEvent::MouseButtonPress, *path.begin(), Qt::LeftButton);
        for (const QPoint& point : path)
            send(QEvent::MouseMove, point, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, *(path.end() - 1), Qt::NoButton);
    }
    void key(Qt::Key key) { QTest::keyClick(&form, key, Qt::ControlModifier); }

    THandForm form;
};

}  // namespace

TEST(SquareScreen, OneShareSetsTheOther) {
    WaveformRecord square = untitledWaveform();
    square.params = encodeSquareShares({50, 50});
    TSquareForm form(square);
    Ui::TSquareForm& ui = form.controls();
    ui.SBottomEdit->setText("130");
    EXPECT_EQ(ui.SBottomEdit->text(), "100");
    EXPECT_EQ(ui.STopEdit->text(), "0");
    ui.STopEdit->setText("75");
    EXPECT_EQ(ui.SBottomEdit->text(), "25");
    ui.STopEdit->setText("7a");
    EXPECT_EQ(form.shares(), (SquareShares{25, 75})) << "no whole number: ignored";
    ui.OkBtn->click();
    EXPECT_EQ(std::count(square.points.begin(), square.points.end(), 1), 4096);
    EXPECT_EQ(decodeSquareShares(square.params), (SquareShares{25, 75}));

    TSquareForm reopened(square);
    EXPECT_EQ(reopened.controls().SBottomEdit->text(), "25");
}

TEST(AModulationScreen, CarrierReadoutLimitsAndStoredValues) {
    const WaveformRecord flat = untitledWaveform();
    TAModulationForm form(flat, channelAt(1000, 256));
    Ui::TAModulationForm& ui = form.controls();
    EXPECT_EQ(ui.Label2->text(), "= 50kHz");
    EXPECT_TRUE(form.carrierBeyondReproduction()) << "256 points a step > 8192 / 50";
    EXPECT_EQ(ui.Label2->palette().color(QPalette::WindowText), Red);
    ui.FreqEdit->setText("20");
    EXPECT_FALSE(form.carrierBeyondReproduction());
    ui.AmplEdit->setText("120");
    EXPECT_EQ(ui.AmplEdit->text(), "95");
    ui.AmplEdit->setText("x");
    EXPECT_EQ(form.params(), (ModulationParams{20, 95})) << "the last valid values stay";

    ui.AmplEdit->setText("0");
    ui.ModulateBtn->click();
    const auto [low, high] =
        std::minmax_element(form.result().points.begin(), form.result().points.end());
    EXPECT_NEAR(*high, 127 + 64.5, 1) << "half scale from a flat source";
    EXPECT_NEAR(*low, 127 - 64.5, 1);
    ui.OkBtn->click();
    EXPECT_EQ(form.result().generatorKind, kGeneratorModulation);

    TAModulationForm reopened(form.result(), channelAt(1000, 1));
    EXPECT_EQ(reopened.controls().FreqEdit->text(), "20");
    EXPECT_EQ(reopened.controls().AmplEdit->text(), "0");
}

TEST(NoiseScreen, LevelMustBeAWholeNumber) {
    RecordingMessages messages;
    ScopedMessageResponder responder(messages);
    WaveformStore store;
    resetPredefined(store, 1);
    TNoiseForm form(store.slots[0]);
    Ui::TNoiseForm& ui = form.controls();
    ui.LevelEdit->setText("2.5");
    ui.OkBtn->click();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nespravna hodnota v ukazovateli level"});
    EXPECT_NE(form.result().generatorKind, kGeneratorNoise) << "the dialog stays open";

    ui.LevelEdit->setText("0");
    ui.Button1->click();
    EXPECT_EQ(form.result().points, store.slots[0].points) << "no noise, no normalising";
    ui.LevelEdit->setText("5");
    ui.NormalizeBox->setChecked(true);
    ui.OkBtn->click();
    EXPECT_EQ(form.result().generatorKind, kGeneratorNoise);
    EXPECT_EQ(form.result().minSample, 1);
    EXPECT_EQ(form.result().maxSample, 255);
    EXPECT_EQ(decodeNoiseParams(form.result().params), (NoiseParams{5, true}));
    EXPECT_EQ(messages.calls.size(), 1u);
}

TEST(NoiseScreen, PreviewZoomButtonsShowTheModeWaitingForItsClick) {
    TNoiseForm form(untitledWaveform());
    Ui::TNoiseForm& ui = form.controls();
    ui.ZoomInBtn->click();
    ui.ZoomMaxBtn->click();
    EXPECT_FALSE(ui.ZoomInBtn->isChecked());
    EXPECT_TRUE(ui.ZoomMaxBtn->isChecked());
    QTest::mouseClick(ui.WaveImage, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_FALSE(ui.ZoomMaxBtn->isChecked()) << "the click zoomed";
}

TEST(HandScreen, PenWithoutBacktrackLineAndCurve) {
    HandEditor hand;
    hand.ui().PenBtn->click();
    hand.drag({{100, 50}, {200, 50}, {150, 250}});
    EXPECT_EQ(hand.points()[hand.at(150)], hand.value(50)) << "the pen did not go back";
    EXPECT_EQ(hand.points()[hand.at(200) + 1], hand.value(250));
    EXPECT_EQ(hand.points()[hand.at(200) + 2], 128);

    hand.ui().LineBtn->click();
    EXPECT_FALSE(hand.ui().PenBtn->isChecked());
    hand.drag({{300, 100}, {600, 200}, {400, 100}});
    EXPECT_EQ(hand.points()[hand.at(350)], hand.value(100)) << "flat line from 300 to 400";
    EXPECT_EQ(hand.points()[hand.at(500)], 128) << "the first position taken back";

    hand.ui().CurveBtn->click();
    hand.drag({{450, 150}, {650, 150}});
    hand.drag({{550, 20}});
    EXPECT_EQ(hand.points()[hand.at(550)], hand.value(20));
    EXPECT_GT(hand.points()[hand.at(500)], hand.value(150));
    EXPECT_LT(hand.points()[hand.at(500)], hand.value(20));

    // The drawing is the result, a plain waveform.
    const std::vector<std::uint8_t> drawn = hand.points();
    hand.ui().OkBtn->click();
    EXPECT_EQ(hand.form.result().points, drawn);
    EXPECT_EQ(hand.form.result().generatorKind, kGeneratorPlain);
}

TEST(HandScreen, BothUndosAndTheStepsThroughEveryChange) {
    HandEditor hand;
    const std::vector<std::uint8_t> flat = hand.points();
    hand.ui().PenBtn->click();
    hand.drag({{100, 50}, {200, 50}});
    const std::vector<std::uint8_t> afterPen = hand.points();
    hand.ui().LineBtn->click();
    hand.drag({{300, 250}, {500, 20}});
    const std::vector<std::uint8_t> afterLine = hand.points();
    hand.drag({{50, 20}, {700, 250}});
    hand.ui().UndoBtn->click();
    EXPECT_EQ(hand.points(), afterLine) << "the last stroke taken back";
    hand.drag({{50, 20}, {700, 250}});
    hand.ui().UndoToolBtn->click();
    EXPECT_EQ(hand.points(), afterPen) << "all the line tool did taken back";

    hand.key(Qt::Key_Z);
    EXPECT_NE(hand.points(), afterPen) << "the undo tool undone";
    hand.key(Qt::Key_Z);
    hand.key(Qt::Key_Z);
    hand.key(Qt::Key_Z);
    EXPECT_EQ(hand.points(), afterLine);
    hand.key(Qt::Key_Z);
    hand.key(Qt::Key_Z);
    EXPECT_EQ(hand.points(), flat);
    hand.key(Qt::Key_Z);
    EXPECT_EQ(hand.points(), flat) << "nothing before the start";
    hand.key(Qt::Key_Y);
    EXPECT_EQ(hand.points(), afterPen);
    hand.key(Qt::Key_Y);
    EXPECT_EQ(hand.points(), afterLine);
}

TEST(HandScreen, ZoomModesWaitWhileAToolIsOn) {
    HandEditor hand;
    hand.ui().ZoomMaxBtn->click();
    EXPECT_EQ(hand.form.display().zoomMode(), TWaveScreen::ZoomMode::ZoomMax);
    hand.ui().PenBtn->click();
    EXPECT_EQ(hand.form.display().zoomMode(), TWaveScreen::ZoomMode::None) << "the tool wins";
    EXPECT_FALSE(hand.ui().ZoomMaxBtn->isChecked());
    for (QPushButton* button : {hand.ui().ZoomMaxBtn, hand.ui().ZoomInBtn, hand.ui().OverZoomBtn}) {
        button->click();
        EXPECT_FALSE(button->isChecked());
    }
    EXPECT_EQ(hand.form.display().zoomMode(), TWaveScreen::ZoomMode::None);

    hand.ui().PenBtn->click();
    hand.ui().OverZoomBtn->click();
    hand.drag({{384, 150}});
    EXPECT_TRUE(hand.form.display().overZoomed());
    EXPECT_FALSE(hand.ui().OverZoomBtn->isChecked());
    EXPECT_EQ(hand.points(), untitledWaveform().points) << "a zoom click draws nothing";
}
