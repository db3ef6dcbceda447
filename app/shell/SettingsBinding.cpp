#include "shell/SettingsBinding.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <stdexcept>

#include "core/AppState.h"
#include "shell/ChannelPanelLink.h"
#include "shell/Main.h"
#include "core/SettingsTranslator.h"
#include "shell/WaveDisplayLink.h"
#include "device/VirtualGenerator.h"
#include "panels/ChannelScreen.h"
#include "panels/FreqScreen.h"
#include "panels/TrgScreen.h"
#include "ui_Main.h"
#include "waves/WaveformStore.h"

namespace {

// The "Con" and "Step" buttons of a mode's frequency panel.
std::pair<QAbstractButton*, QAbstractButton*> moveButtons(Ui::TMainForm& ui, int mode) {
    if (mode == ModeDigital) return {ui.TickConFreqBtn, ui.TickStepFreqBtn};
    if (mode == ModeImport) return {ui.ITickConFreqBtn, ui.ITickStepFreqBtn};
    return {ui.ConFreqBtn, ui.StepFreqBtn};
}

// A button of an exclusive group put down and clicked, as the operator would.
void pressDown(QAbstractButton* button) {
    button->setChecked(true);
    button->click();
}

// A checkable menu entry put into the opposite state and triggered, so that its handler
// toggles it back to `on` and passes the state on.
void triggerTo(QAction* entry, bool on) {
    entry->setChecked(!on);
    entry->trigger();
}

void setItemQuietly(QComboBox* box, int item) {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(item);
}

std::int32_t barValue(const QScrollBar* bar) {
    return bar->maximum() - bar->value();
}

}  // namespace

SettingsBinding::SettingsBinding(Objects objects) : o_(objects) {}

bool SettingsBinding::channelPanelPresent(int channel) const {
    return o_.channelPanels[channel == 0 ? 0 : 1] != nullptr;
}

TVirtualGenerator& SettingsBinding::generator() const {
    if (o_.generator == nullptr)
        throw std::logic_error("settings applied before the generator model exists");
    return *o_.generator;
}

TFreqScreen* SettingsBinding::frequencyPanel(int mode) const {
    if (mode == ModeAnalog) return o_.frequencyPanels[0];
    if (mode == ModeDigital) return o_.frequencyPanels[1];
    if (mode == ModeImport) return o_.frequencyPanels[2];
    return nullptr;
}

SettingsValues SettingsBinding::gather() const {
    Ui::TMainForm& ui = o_.mainForm.controls();
    const TVirtualGenerator& g = generator();
    const AppState& s = o_.state;
    SettingsValues v;
    v.baseAddress = s.baseAddressIndex;
    v.portAddress = s.portAddress;
    v.usb = s.useUsb;
    v.useProxy = s.useProxy;
    v.proxyAddress = s.proxyAddress;
    v.proxyPort = s.proxyPort;
    for (int c = 0; c < 2; ++c) {
        const auto controls = TChannelScreen::controlsOf(ui, c);
        ChannelSettings& ch = v.channels[c];
        ch.realShift = g.shift(c);
        ch.shiftMode = controls.ConShiftBtn->isChecked() ? 1 : 0;
        ch.shift = barValue(controls.ShiftBar);
        ch.level = g.level(c);
        ch.externalLevel = g.externalLevel(c);
        ch.output = g.outputState(c);
        ch.load = g.load(c);
        ch.relativeDbMode = controls.AutoDBBtn->isChecked() ? 1 : 0;
        if (const ChannelPanelLink* panel = o_.channelPanels[c])
            ch.relativeDbNull = panel->dbReference();
        ch.absoluteDbUnit = controls.LevelUnitsBox->currentIndex();
        ch.vpp = controls.VppBtn->isChecked();
        ch.vp = controls.VpBtn->isChecked();
        ch.vpMode = controls.VpPlusBtn->isChecked() ? 1 : 0;
        ch.vrms = controls.VRmsBtn->isChecked();
        ch.vavg = controls.VavgBtn->isChecked();
        ch.filter = g.filter(c);
        ch.wave = c == 0 ? s.waveIndexA : s.waveIndexB;
    }
    v.channelBPhase = g.phaseB();
    const auto frequencyOf = [&](int mode) {
        const TFreqScreen& panel = *frequencyPanel(mode);
        return FrequencySettings{panel.programFrequency(),
                                 moveButtons(ui, mode).first->isChecked() ? 1 : 0,
                                 panel.deviceFrequency()};
    };
    v.analogFrequency = frequencyOf(ModeAnalog);
    v.channelBMultiplication = g.multiplier();
    v.trigger = o_.trigger.triggerOn;
    v.triggerEdge = o_.trigger.leadingEdge ? 1 : 0;
    v.whileTriggerOff = o_.trigger.running ? 1 : 0;
    v.synchroPulsesOut = o_.trigger.syncOut;
    v.triggerMode = o_.trigger.single ? 1 : 0;
    v.digitalFrequency = frequencyOf(ModeDigital);
    v.digitalVoltage = ui.DigitalVoltageBox->currentIndex();
    v.importFrequency = frequencyOf(ModeImport);
    v.importLevelA = s.importLevelA;
    v.importLevelB = s.importLevelB;
    v.importOutputA = s.importOutputA;
    v.importOutputB = s.importOutputB;
    v.levelLock = ui.ILockLevelBtn->isChecked();
    v.forceDigitalOutputs = g.digitalOutputs() != 0;
    v.countVRmsFromAC = ui.VRmsfromAC1->isChecked();
    v.autoFilter = g.autoFilter();
    v.interfaceMode = s.currentMode;
    return v;
}

bool SettingsBinding::write(const std::filesystem::path& fileName, UserMessages& messages) const {
    return writeSettings(fileName, gather(), messages);
}

bool SettingsBinding::read(const std::filesystem::path& fileName, bool communicationPass,
                           UserMessages& messages) {
    return readSettings(fileName, communicationPass, *this, messages);
}

// ---- communication and proxy ----

void SettingsBinding::setBaseAddress(std::int32_t index) {
    o_.state.baseAddressIndex = index;
}

void SettingsBinding::setPortAddress(std::int32_t address) {
    o_.state.portAddress = address;
}

void SettingsBinding::setUsb(bool on) {
    o_.state.useUsb = on;
}

void SettingsBinding::setUseProxy(bool on) {
    o_.state.useProxy = on;
}

void SettingsBinding::setProxyAddress(const std::string& address) {
    o_.state.proxyAddress = address;
}

void SettingsBinding::setProxyPort(std::int32_t port) {
    o_.state.proxyPort = port;
}

// ---- channels ----

void SettingsBinding::setRealShift(int channel, std::int32_t code) {
    setShift(channel, code);
    TChannelScreen::controlsOf(o_.mainForm.controls(), channel).ShiftOutBtn->click();
    if (!channelPanelPresent(channel)) generator().ChangeShift(channel, code);
}

void SettingsBinding::setShiftMode(int channel, bool continuous) {
    const auto controls = TChannelScreen::controlsOf(o_.mainForm.controls(), channel);
    pressDown(continuous ? controls.ConShiftBtn : controls.StepShiftBtn);
}

void SettingsBinding::setShift(int channel, std::int32_t code) {
    QScrollBar* bar = TChannelScreen::controlsOf(o_.mainForm.controls(), channel).ShiftBar;
    bar->setValue(bar->maximum() - code);
}

void SettingsBinding::setLevel(int channel, std::int32_t code) {
    o_.mainForm.applyChannelLevel(channel, code);
    if (!channelPanelPresent(channel)) generator().ChangeLevel(channel, code);
}

void SettingsBinding::setExternalLevel(int channel, bool on) {
    const auto controls = TChannelScreen::controlsOf(o_.mainForm.controls(), channel);
    pressDown(on ? controls.ExtLevelOnBtn : controls.ExtLevelOffBtn);
    if (!channelPanelPresent(channel)) generator().ChangeExternalLevel(channel, on ? 1 : 0);
}

void SettingsBinding::setOutput(int channel, std::int32_t state) {
    o_.mainForm.applyChannelOutput(channel, state);
    if (!channelPanelPresent(channel)) generator().ChangeOutputState(channel, state);
}

void SettingsBinding::setLoad(int channel, std::int32_t ohms) {
    if (ChannelPanelLink* panel = o_.channelPanels[channel == 0 ? 0 : 1])
        panel->setLoad(ohms);
    else
        generator().ChangeLoad(channel, ohms);
}

void SettingsBinding::setRelativeDbMode(int channel, bool autoDb) {
    const auto controls = TChannelScreen::controlsOf(o_.mainForm.controls(), channel);
    pressDown(autoDb ? controls.AutoDBBtn : controls.ManualDBBtn);
}

void SettingsBinding::setRelativeDbNull(int channel, double millivolts) {
    if (ChannelPanelLink* panel = o_.channelPanels[channel == 0 ? 0 : 1])
        panel->setDbReference(millivolts);
}

void SettingsBinding::setAbsoluteDbUnit(int channel, std::int32_t item) {
    setItemQuietly(TChannelScreen::controlsOf(o_.mainForm.controls(), channel).LevelUnitsBox, item);
}

void SettingsBinding::setIndicator(int channel, Indicator indicator, bool down) {
    const auto controls = TChannelScreen::controlsOf(o_.mainForm.controls(), channel);
    QAbstractButton* button = nullptr;
    switch (indicator) {
        case Indicator::Vpp:
            button = controls.VppBtn;
            break;
        case Indicator::Vp:
            button = controls.VpBtn;
            break;
        case Indicator::VRms:
            button = controls.VRmsBtn;
            break;
        case Indicator::VAvg:
            button = controls.VavgBtn;
            break;
    }
    button->setChecked(down);
}

void SettingsBinding::setVpMode(int channel, bool plus) {
    const auto controls = TChannelScreen::controlsOf(o_.mainForm.controls(), channel);
    (plus ? controls.VpPlusBtn : controls.VpMinusBtn)->setChecked(true);
}

void SettingsBinding::setFilterItem(int channel, std::int32_t item) {
    o_.mainForm.chooseFilter(channel, item);
    if (!channelPanelPresent(channel)) generator().ChangeFilter(channel, item);
}

bool SettingsBinding::waveSlotFilled(int slot) const {
    return !o_.store.slots[static_cast<std::size_t>(slot)].points.empty();
}

void SettingsBinding::setWave(int channel, int slot) {
    (channel == 0 ? o_.state.waveIndexA : o_.state.waveIndexB) = slot;
}

void SettingsBinding::setChannelBPhase(std::int32_t phase) {
    if (o_.waveDisplayB) {
        o_.waveDisplayB->setPhase(phase);
    } else {
        generator().ChangePhase(phase);
    }
    o_.mainForm.PhaseSetBtnClick();
}

// ---- frequencies ----

void SettingsBinding::setFrequency(int mode, double frequency) {
    TFreqScreen* panel = frequencyPanel(mode);
    if (!panel || frequency == -1) return;
    // The generator model files frequencies per mode.
    o_.state.pushMode(mode);
    panel->setFrequency(frequency);
    o_.state.popMode();
}

void SettingsBinding::setFrequencyMoveMode(int mode, bool continuous) {
    const auto [con, step] = moveButtons(o_.mainForm.controls(), mode);
    pressDown(continuous ? con : step);
}

void SettingsBinding::setRealFrequency(int mode, double frequency) {
    if (TFreqScreen* panel = frequencyPanel(mode)) panel->setDeviceFrequency(frequency);
}

void SettingsBinding::setChannelBMultiplication(std::int32_t multiplier) {
    QLineEdit* edit = o_.mainForm.controls().FreqBEdit;
    edit->setText(QString::number(multiplier));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &release);
}

// ---- trigger, digital, import ----

void SettingsBinding::setTriggerSwitch(TriggerSwitch which, bool on) {
    TTrgScreen& t = o_.trigger;
    switch (which) {
        case TriggerSwitch::Trigger:
            t.triggerOn = on;
            break;
        case TriggerSwitch::LeadingEdge:
            t.leadingEdge = on;
            break;
        case TriggerSwitch::RunWhileTriggerOff:
            t.running = on;
            break;
        case TriggerSwitch::SyncOut:
            t.syncOut = on;
            break;
        case TriggerSwitch::Single:
            t.single = on;
            break;
    }
    t.refresh();
}

void SettingsBinding::setDigitalVoltage(std::int32_t item) {
    setItemQuietly(o_.mainForm.controls().DigitalVoltageBox, item);
}

void SettingsBinding::setImportLevel(int channel, std::int32_t code) {
    (channel == 0 ? o_.state.importLevelA : o_.state.importLevelB) = code;
}

void SettingsBinding::setImportOutput(int channel, std::int32_t state) {
    (channel == 0 ? o_.state.importOutputA : o_.state.importOutputB) = state;
}

void SettingsBinding::setLevelLock(bool down) {
    o_.mainForm.controls().ILockLevelBtn->setChecked(down);
}

// ---- menu options and mode ----

void SettingsBinding::setForceDigitalOutputs(bool on) {
    triggerTo(o_.mainForm.controls().Forcedigitaloutputs1, on);
}

void SettingsBinding::setCountVRmsFromAC(bool on) {
    triggerTo(o_.mainForm.controls().VRmsfromAC1, on);
}

void SettingsBinding::setAutoFilter(bool on) {
    triggerTo(o_.mainForm.controls().Autofilter1, on);
}

void SettingsBinding::setStartMode(int mode) {
    o_.state.startMode = mode;
}
