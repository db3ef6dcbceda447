// The frequency and trigger panels on the driver library and the virtual instrument: what the
// operator does on the controls is what the instrument ends up doing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <cmath>

#include "MainWindowOnInstrument.h"
#include "core/UnitFormat.h"
#include "panels/FreqScreen.h"
#include "panels/TrgScreen.h"
#include "waves/WaveformRecord.h"

namespace {

using q745vi::VirtualBench;

q745vi::InstrumentState instrument() {
    return VirtualBench::process().parallelInstrument(0)->state(false);
}

}  // namespace

TEST(PanelsOnInstrument, TypedFrequencyAndTriggerSwitchesReachTheInstrument) {
    MainWindowOnInstrument rig;
    rig.generator->Activate();
    ASSERT_FALSE(rig.device.binding->demoMode());
    WaveformRecord sine;
    sine.points.assign(16384, 128);
    rig.generator->ChangeWave(0, sine);
    rig.generator->ChangeWave(1, sine);
    TFreqScreen frequency(TFreqScreen::AnalogMinFrequency, TFreqScreen::AnalogMaxFrequency, false);
    frequency.attach(*rig.generator, ModeAnalog, TFreqScreen::analogControls(rig.ui()));
    TTrgScreen trigger;
    trigger.attach(*rig.generator, TTrgScreen::controlsOf(rig.ui()));
    trigger.applyAll();

    rig.ui().FreqEdit->setText("12.5k");
    QTest::keyClick(rig.ui().FreqEdit, Qt::Key_Return);
    EXPECT_GT(std::abs(instrument().channels[0].signalFrequency - 12500), 1) << "not sent yet";
    rig.ui().SetFreqBtn->click();
    const q745vi::InstrumentState sent = instrument();
    EXPECT_NEAR(sent.channels[0].signalFrequency, 12500, 1);
    EXPECT_EQ(rig.ui().RealFreqEdit->text(),
              QString::fromStdString(formatFrequency6(sent.channels[0].signalFrequency)));

    rig.ui().TriggerOnBtn->click();
    rig.ui().TriggerTrailBtn->click();
    EXPECT_TRUE(instrument().externalTrigger);
    EXPECT_TRUE(instrument().trailingEdge);
    rig.ui().SyncOnBtn->click();
    rig.ui().SyncModeSingleBtn->click();
    const q745vi::InstrumentState synced = instrument();
    EXPECT_TRUE(synced.syncOutput);
    EXPECT_FALSE(synced.externalTrigger);
    EXPECT_FALSE(synced.periodic);
}
