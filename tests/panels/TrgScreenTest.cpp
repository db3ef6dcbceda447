#include "panels/TrgScreen.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include "PanelRig.h"

namespace {

// The trigger panel with the given switches, applied once as at start-up, with the driver's
// record cleared.
struct TriggerPanel : PanelRig {
    explicit TriggerPanel(bool triggerOn, bool running = true) {
        panel.triggerOn = triggerOn;
        panel.leadingEdge = false;
        panel.running = running;
        panel.attach(*generator, TTrgScreen::controlsOf(*ui));
        panel.applyAll();
    }
    // The trigger and run calls since the last look.
    std::vector<std::string> sent() {
        std::vector<std::string> calls;
        for (const std::string& call : driver.calls)
            if (call.rfind("SetTrigger", 0) == 0 || call.rfind("SetExternalTriggerUse", 0) == 0 ||
                call.rfind("SetGeneratorOn", 0) == 0)
                calls.push_back(call);
        driver.forget();
        return calls;
    }
    static bool shown(const QAbstractButton* button) { return !button->isHidden(); }

    TTrgScreen panel;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(TrgScreen, SettingsAreShownAndSentAndSyncOutTurnsTheTriggerOff) {
    TriggerPanel rig(true);
    EXPECT_TRUE(rig.ui->SyncOffBtn->isChecked()) << "the form's own default is On";
    EXPECT_TRUE(rig.ui->TriggerTrailBtn->isChecked());
    EXPECT_FALSE(TriggerPanel::shown(rig.ui->TriggerGoBtn));
    EXPECT_EQ(rig.sent(), (Calls{"SetGeneratorOn(1)", "SetExternalTriggerUse(0)",
                                 "SetTriggerEdge(1)", "SetTriggerMode(1)"}));
    rig.ui->TriggerOnBtn->click();
    rig.ui->SyncOffBtn->click();
    EXPECT_TRUE(rig.sent().empty()) << "the buttons already down send nothing";

    rig.ui->SyncOnBtn->click();
    EXPECT_TRUE(rig.ui->TriggerOffBtn->isChecked());
    EXPECT_FALSE(rig.ui->TriggerOnBtn->isEnabled());
    EXPECT_FALSE(TriggerPanel::shown(rig.ui->TriggerLeadBtn));
    EXPECT_TRUE(TriggerPanel::shown(rig.ui->TriggerGoBtn));
    EXPECT_EQ(rig.sent(), Calls{"SetExternalTriggerUse(3)"});
}

TEST(TrgScreen, SingleModeGoFiresOneShotAndStopStaysDown) {
    TriggerPanel rig(false);
    rig.sent();
    rig.ui->SyncModeSingleBtn->click();
    rig.ui->TriggerGoBtn->click();
    rig.ui->TriggerGoBtn->click();
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isChecked());
    EXPECT_FALSE(rig.ui->TriggerStopBtn->isEnabled());
    EXPECT_FALSE(rig.ui->TriggerGoBtn->isChecked());
    EXPECT_EQ(rig.sent(), (Calls{"SetTriggerMode(0)", "SetGeneratorOn(0)", "SetGeneratorOn(1)",
                                 "SetGeneratorOn(0)", "SetGeneratorOn(1)"}));
}

TEST(TrgScreen, BackToPeriodWithTheTriggerOffSendsTheRunStateFirst) {
    TriggerPanel rig(false, false);
    rig.ui->SyncModeSingleBtn->click();
    rig.ui->TriggerGoBtn->click();
    rig.sent();
    rig.ui->SyncModePeriodBtn->click();
    EXPECT_EQ(rig.sent(), (Calls{"SetGeneratorOn(0)", "SetTriggerMode(1)"}));
    EXPECT_TRUE(rig.ui->TriggerStopBtn->isChecked());
    rig.ui->TriggerGoBtn->click();
    EXPECT_FALSE(rig.ui->TriggerStopBtn->isChecked()) << "one exclusive pair again";
    EXPECT_EQ(rig.sent(), Calls{"SetGeneratorOn(1)"});
}
