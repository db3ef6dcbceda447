#pragma once

#include <QObject>

class QAbstractButton;
class QButtonGroup;
class TVirtualGenerator;

namespace Ui {
class TMainForm;
}

// The trigger and sync panel: whether an external trigger starts the generator and on which
// edge, whether it runs ("Go") or not ("Stop") without one, whether it plays once ("Single")
// or repeatedly ("Period"), and whether it puts out synchronisation pulses. Keeps the five
// switches consistent and turns each change into calls of the generator model.
class TTrgScreen : public QObject {
public:
    struct Controls {
        QAbstractButton* triggerOnBtn = nullptr;
        QAbstractButton* triggerOffBtn = nullptr;
        QAbstractButton* triggerGoBtn = nullptr;
        QAbstractButton* triggerStopBtn = nullptr;
        QAbstractButton* triggerLeadBtn = nullptr;
        QAbstractButton* triggerTrailBtn = nullptr;
        QAbstractButton* syncOnBtn = nullptr;
        QAbstractButton* syncOffBtn = nullptr;
        QAbstractButton* syncModeSingleBtn = nullptr;
        QAbstractButton* syncModePeriodBtn = nullptr;
    };
    static Controls controlsOf(Ui::TMainForm& ui);

    // Trigger sources of ChangeTriggerStyle.
    static constexpr int NoTrigger = -1;
    static constexpr int ExternalTrigger = 0;
    static constexpr int SyncOutput = 3;

    TTrgScreen() = default;
    TTrgScreen(const TTrgScreen&) = delete;
    TTrgScreen& operator=(const TTrgScreen&) = delete;

    // Hands over the generator model and the buttons, hooks their clicks and shows the state.
    void attach(TVirtualGenerator& generator, const Controls& controls);
    // Makes the switches consistent (sync output excludes the external trigger) and shows them.
    void refresh();
    // Shows the switches and sends them all (once the settings are in, and after a profile).
    void applyAll();

    // The switches; the settings store into them and refresh.
    bool triggerOn = true;
    bool leadingEdge = true;
    bool running = false;  // "Go" while the external trigger is off
    bool syncOut = false;
    bool single = false;

private:
    void triggerClicked();
    void runClicked(QAbstractButton* button);
    void edgeClicked();
    void syncClicked();
    void modeClicked();

    TVirtualGenerator* generator_ = nullptr;
    Controls c_;
    // The exclusive group of "Go" and "Stop", which "Go" leaves in single mode.
    QButtonGroup* runGroup_ = nullptr;
};
