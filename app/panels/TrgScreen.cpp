#include "panels/TrgScreen.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include "device/VirtualGenerator.h"
#include "ui_Main.h"

namespace {

// An exclusive pair shows `first` down when on is set, `second` otherwise.
void showPair(QAbstractButton* first, QAbstractButton* second, bool on) {
    (on ? first : second)->setChecked(true);
}

}  // namespace

TTrgScreen::Controls TTrgScreen::controlsOf(Ui::TMainForm& ui) {
    return {ui.TriggerOnBtn,      ui.TriggerOffBtn,    ui.TriggerGoBtn, ui.TriggerStopBtn,
            ui.TriggerLeadBtn,    ui.TriggerTrailBtn,  ui.SyncOnBtn,    ui.SyncOffBtn,
            ui.SyncModeSingleBtn, ui.SyncModePeriodBtn};
}

void TTrgScreen::attach(TVirtualGenerator& generator, const Controls& controls) {
    generator_ = &generator;
    c_ = controls;
    runGroup_ = c_.triggerGoBtn->group();
    if (!runGroup_) {
        runGroup_ = new QButtonGroup(this);
        runGroup_->addButton(c_.triggerGoBtn);
        runGroup_->addButton(c_.triggerStopBtn);
    }
    for (QAbstractButton* button : {c_.triggerOnBtn, c_.triggerOffBtn})
        connect(button, &QAbstractButton::clicked, this, &TTrgScreen::triggerClicked);
    for (QAbstractButton* button : {c_.triggerGoBtn, c_.triggerStopBtn})
        connect(button, &QAbstractButton::clicked, this, [this, button] { runClicked(button); });
    for (QAbstractButton* button : {c_.triggerLeadBtn, c_.triggerTrailBtn})
        connect(button, &QAbstractButton::clicked, this, &TTrgScreen::edgeClicked);
    for (QAbstractButton* button : {c_.syncOnBtn, c_.syncOffBtn})
        connect(button, &QAbstractButton::clicked, this, &TTrgScreen::syncClicked);
    for (QAbstractButton* button : {c_.syncModeSingleBtn, c_.syncModePeriodBtn})
        connect(button, &QAbstractButton::clicked, this, &TTrgScreen::modeClicked);
    refresh();
}

void TTrgScreen::refresh() {
    if (syncOut) triggerOn = false;
    if (!generator_) return;

    showPair(c_.triggerOnBtn, c_.triggerOffBtn, triggerOn);
    c_.triggerOnBtn->setEnabled(!syncOut);
    c_.triggerOffBtn->setEnabled(!syncOut);

    c_.triggerLeadBtn->setVisible(triggerOn);
    c_.triggerTrailBtn->setVisible(triggerOn);
    c_.triggerGoBtn->setVisible(!triggerOn);
    c_.triggerStopBtn->setVisible(!triggerOn);
    showPair(c_.triggerLeadBtn, c_.triggerTrailBtn, leadingEdge);

    if (single) {
        // "Go" becomes a push button that fires one shot; "Stop" has nothing to stop.
        if (c_.triggerGoBtn->group() == runGroup_) runGroup_->removeButton(c_.triggerGoBtn);
        c_.triggerGoBtn->setChecked(false);
        c_.triggerGoBtn->setCheckable(false);
        c_.triggerStopBtn->setChecked(true);
        c_.triggerStopBtn->setEnabled(false);
    } else {
        c_.triggerGoBtn->setCheckable(true);
        if (c_.triggerGoBtn->group() != runGroup_) runGroup_->addButton(c_.triggerGoBtn);
        c_.triggerStopBtn->setEnabled(true);
        showPair(c_.triggerGoBtn, c_.triggerStopBtn, running);
    }

    showPair(c_.syncOnBtn, c_.syncOffBtn, syncOut);
    showPair(c_.syncModeSingleBtn, c_.syncModePeriodBtn, single);
}

void TTrgScreen::applyAll() {
    refresh();
    if (!generator_) return;
    generator_->ChangeTriggerStyle(syncOut ? SyncOutput : triggerOn ? ExternalTrigger : NoTrigger);
    generator_->ChangeTriggerEdge(leadingEdge ? 1 : 0);
    generator_->ChangeTriggerMode(single ? 1 : 0);
    if (!triggerOn && !single) generator_->ChangeRun(running);
}

void TTrgScreen::triggerClicked() {
    const bool on = c_.triggerOnBtn->isChecked();
    if (on != triggerOn) {
        triggerOn = on;
        generator_->ChangeTriggerStyle(on ? ExternalTrigger : NoTrigger);
    }
    refresh();
}

void TTrgScreen::runClicked(QAbstractButton* button) {
    if (single) {
        if (button == c_.triggerGoBtn) generator_->Restart();
    } else {
        running = c_.triggerGoBtn->isChecked();
        generator_->ChangeRun(running);
    }
    refresh();
}

void TTrgScreen::edgeClicked() {
    leadingEdge = c_.triggerLeadBtn->isChecked();
    generator_->ChangeTriggerEdge(leadingEdge ? 1 : 0);
    refresh();
}

void TTrgScreen::syncClicked() {
    const bool on = c_.syncOnBtn->isChecked();
    if (on == syncOut) return;
    syncOut = on;
    if (on) triggerOn = false;
    refresh();
    generator_->ChangeTriggerStyle(on ? SyncOutput : NoTrigger);
}

void TTrgScreen::modeClicked() {
    single = c_.syncModeSingleBtn->isChecked();
    if (single) {
        generator_->ChangeTriggerMode(1);
    } else {
        if (!triggerOn) generator_->ChangeRun(running);
        generator_->ChangeTriggerMode(0);
    }
    refresh();
}
