#include "panels/TrgScreen.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include "PanelRig.h"

namespace {

// The trigger panel with the given switches, applied once as at start-up, with the driver's
// record cleared.
struct TriggerPanel : PanelRig<> {
    explicit TriggerPanel(bool triggerOn = false, bool running = true) {
        panel.triggerOn = triggerOn;
        panel.running = running;
        panel.attach(*generator, TTrgScreen::controlsOf(*ui));
        panel.applyAll();
        driver.forget();
    }
    std::vector<std::string> triggerCalls() const {
        std::vector<std::string> calls;
        for (const std::string& call : driver.calls)
            if (call.rfind("SetTrigger", 0) == 0 || call.rfind("SetExternalTriggerUse", 0) == 0 ||
                call.rfind("SetGeneratorOn", 0) == 0)
                calls.push_back(call);
        return calls;
    }
    static bool shown(const QAbstractButton* button) { return !button->isHidden(); }

    TTrgScreen panel;
};

}  // namespace

TEST(TrgScreen, SwitchesFromTheSettingsAreShownAndSent) {
    PanelRig<> rig;
    TTrgScreen panel;
    panel.attach(*rig.generator, TTrgScreen::controlsOf(*rig.ui));
    panel.syncOut = false;
    panel.triggerOn = false;
    panel.leadingEdge = false;
    panel.running = true;
    rig.driver.forget();
    panel.applyAll();
    EXPECT_TRUE(rig.ui->SyncOffBtn->isChecked()) << "the form's own default is On";
    EXPECT_TRUE(rig.ui->TriggerOffBtn->isChecked());
    EXPECT_TRUE(rig.ui->TriggerGoBtn->isChecked());
    EXPECT_TRUE(rig.ui->TriggerTrailBtn->isChecked());
    EXPECT_EQ(rig.driver.callsNamed("SetExternalTriggerUse"),
              std::vector<std::string>{"SetExternalTriggerUse(-1)"});
    EXPECT_EQ(rig.driver.callsNamed("SetTriggerEdge"),
              std::vector<std::string>{"SetTriggerEdge(1)"});
    EXPECT_EQ(rig.driver.callsNamed("SetTriggerMode"),
              std::vector<std::string>{"SetTriggerMode(1)"});
}

TEST(TrgScreen, SyncOutTurnsTheExternalTriggerOff) {
    TriggerPanel rig(true);
    EXPECT_TRUE(TriggerPanel::shown(rig.ui->TriggerLeadBtn));
    EXPECT_FALSE(TriggerPanel::shown(rig.ui->TriggerGoBtn));
    rig.ui->SyncOnBtn->click();
    EXPECT_FALSE(rig.panel.triggerOn);
    EXPECT_TRUE(rig.ui->TriggerOffBtn->isChecked());
    EXPECT_FALSE(rig.ui->TriggerOnBtn->isEnabled());
    EXPECT_FALSE(TriggerPanel::shown(rig.ui->TriggerLeadBtn));
    EXPECT_TRUE(TriggerPanel::shown(rig.ui->TriggerGoBtn));
    EXPECT_EQ(rig.triggerCalls(), std::vector<std::string>{"SetExternalTriggerUse(3)"});

    rig.ui->SyncOffBtn->click();
    EXPECT_TRUE(rig.ui->TriggerOnBtn->isEnabled());
    EXPECT_EQ(rig.triggerCalls().back(), "SetExternalTriggerUse(-1)");
}

TEST(TrgScreen, SingleModeGoFiresOneShotAndStopStaysDown) {
    TriggerPanel rig;
    rig.ui->SyncModeSingleBtn->click();
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isChecked());
    EXPECT_FALSE(rig.ui->TriggerStopBtn->isEnabled());
    rig.ui->TriggerGoBtn->click();
    rig.ui->TriggerGoBtn->click();
    EXPECT_FALSE(rig.ui->TriggerGoBtn->isChecked());
    EXPECT_EQ(rig.triggerCalls(), (std::vector<std::string>{
                                      "SetTriggerMode(0)", "SetGeneratorOn(0)", "SetGeneratorOn(1)",
                                      "SetGeneratorOn(0)", "SetGeneratorOn(1)"}));
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isChecked());
}

TEST(TrgScreen, BackToPeriodWithTheTriggerOffSendsTheRunStateFirst) {
    TriggerPanel rig(false, false);
    rig.ui->SyncModeSingleBtn->click();
    rig.ui->TriggerGoBtn->click();
    rig.driver.forget();
    rig.ui->SyncModePeriodBtn->click();
    EXPECT_EQ(rig.triggerCalls(),
              (std::vector<std::string>{"SetGeneratorOn(0)", "SetTriggerMode(1)"}));
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isEnabled());
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isChecked());
    rig.ui->TriggerGoBtn->click();
    EXPECT_TRUE(rig.ui->TriggerGoBtn->isChecked());
    EXPECT_FALSE(rig.ui->TriggerStopBtn->isChecked()) << "one exclusive pair again";
    EXPECT_EQ(rig.triggerCalls().back(), "SetGeneratorOn(1)");
}

TEST(TrgScreen, PressingTheSelectedTriggerButtonSendsNothing) {
    TriggerPanel rig(true);
    rig.ui->TriggerOnBtn->click();
    rig.ui->SyncOffBtn->click();
    EXPECT_TRUE(rig.triggerCalls().empty());
    rig.ui->TriggerTrailBtn->click();
    rig.ui->TriggerOffBtn->click();
    EXPECT_EQ(rig.triggerCalls(),
              (std::vector<std::string>{"SetTriggerEdge(1)", "SetExternalTriggerUse(-1)"}));
    EXPECT_FALSE(rig.panel.leadingEdge);
}
