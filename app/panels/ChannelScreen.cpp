#include "panels/ChannelScreen.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "core/UnitFormat.h"
#include "device/GeneratorConversions.h"
#include "device/VirtualGenerator.h"
#include "panels/ChannelLevels.h"
#include "shell/RedLabel.h"
#include "ui_Main.h"
#include "waves/WaveformRecord.h"

namespace {

constexpr std::int32_t ZeroShift = 2048;
constexpr std::int32_t FilterOff = 2;
constexpr std::int32_t FiftyOhms = 50;

std::int32_t barCode(const QScrollBar* bar) {
    return bar->maximum() - bar->value();
}

void setBarCode(QScrollBar* bar, std::int32_t code) {
    bar->setValue(bar->maximum() - clampCode(code));
}

}  // namespace

TChannelScreen::Controls TChannelScreen::controlsOf(Ui::TMainForm& ui, int channel) {
    if (channel == 0)
        return {ui.VppBtnA,        ui.VavgBtnA,    ui.VRmsBtnA,       ui.VpBtnA,
                ui.VppEditA,       ui.VavgEditA,   ui.VRmsEditA,      ui.VpEditA,
                ui.VpPlusBtnA,     ui.VpMinusBtnA, ui.ExtLevelOnBtnA, ui.ExtLevelOffBtnA,
                ui.LevelUnitsBoxA, ui.LevelEditA,  ui.LevelBarA,      ui.AutoDBBtnA,
                ui.ManualDBBtnA,   ui.SetDBBtnA,   ui.dBEditA,        ui.ConShiftBtnA,
                ui.StepShiftBtnA,  ui.ShiftEditA,  ui.ShiftOutBtnA,   ui.ShiftNullBtnA,
                ui.ShiftOutEditA,  ui.ShiftBarA,   ui.LoadOpenBtnA,   ui.Load50BtnA,
                ui.LoadEditA,      ui.FilterBoxA,  ui.OutputOffBtnA,  ui.Output20BtnA,
                ui.Output0BtnA,    ui.Label9,      ui.Label11};
    return {ui.VppBtnB,        ui.VavgBtnB,    ui.VRmsBtnB,       ui.VpBtnB,
            ui.VppEditB,       ui.VavgEditB,   ui.VRmsEditB,      ui.VpEditB,
            ui.VpPlusBtnB,     ui.VpMinusBtnB, ui.ExtLevelOnBtnB, ui.ExtLevelOffBtnB,
            ui.LevelUnitsBoxB, ui.LevelEditB,  ui.LevelBarB,      ui.AutoDBBtnB,
            ui.ManualDBBtnB,   ui.SetDBBtnB,   ui.dBEditB,        ui.ConShiftBtnB,
            ui.StepShiftBtnB,  ui.ShiftEditB,  ui.ShiftOutBtnB,   ui.ShiftNullBtnB,
            ui.ShiftOutEditB,  ui.ShiftBarB,   ui.LoadOpenBtnB,   ui.Load50BtnB,
            ui.LoadEditB,      ui.FilterBoxB,  ui.OutputOffBtnB,  ui.Output20BtnB,
            ui.Output0BtnB,    ui.Label15,     ui.Label14};
}

TChannelScreen::TChannelScreen(int channel, TVirtualGenerator& generator, Controls controls,
                               QObject* parent)
    : QObject(parent), channel_(channel), generator_(generator), c_(controls) {}

void TChannelScreen::initialise() {
    {
        const QScopedValueRollback writing(busy_, true);
        load_ = generator::OpenLoad;
        levelCode_ = programShift_ = deviceShift_ = ZeroShift;
        setBarCode(c_.LevelBar, levelCode_);
        setBarCode(c_.ShiftBar, programShift_);
        c_.FilterBox->setCurrentIndex(FilterOff);
        c_.VavgEdit->setEnabled(false);
        c_.VRmsEdit->setEnabled(false);
        showLoad();
    }

    connect(c_.LevelBar, &QScrollBar::valueChanged, this, [this] {
        if (!busy_) levelBarMoved();
    });
    connect(c_.ShiftBar, &QScrollBar::valueChanged, this, [this] {
        if (!busy_) shiftBarChanged();
    });
    for (QAbstractButton* toggle :
         {c_.VppBtn, c_.VavgBtn, c_.VRmsBtn, c_.VpBtn, c_.VpPlusBtn, c_.VpMinusBtn})
        connect(toggle, &QAbstractButton::toggled, this, [this] { refresh(); });
    connect(c_.LevelUnitsBox, &QComboBox::currentIndexChanged, this, [this] { refresh(); });

    connect(c_.VppEdit, &QLineEdit::returnPressed, this, &TChannelScreen::vppEntered);
    connect(c_.VpEdit, &QLineEdit::returnPressed, this, &TChannelScreen::vpEntered);
    connect(c_.dBEdit, &QLineEdit::returnPressed, this, &TChannelScreen::dbEntered);
    connect(c_.LoadEdit, &QLineEdit::returnPressed, this, &TChannelScreen::loadEntered);

    connect(c_.OutputOffBtn, &QAbstractButton::clicked, this,
            [this] { outputChosen(generator::OutputOff); });
    connect(c_.Output0Btn, &QAbstractButton::clicked, this,
            [this] { outputChosen(generator::OutputNormal); });
    connect(c_.Output20Btn, &QAbstractButton::clicked, this,
            [this] { outputChosen(generator::OutputMinus20dB); });
    connect(c_.ExtLevelOnBtn, &QAbstractButton::clicked, this,
            [this] { generator_.ChangeExternalLevel(channel_, 1); });
    connect(c_.ExtLevelOffBtn, &QAbstractButton::clicked, this,
            [this] { generator_.ChangeExternalLevel(channel_, 0); });

    connect(c_.AutoDBBtn, &QAbstractButton::clicked, this, &TChannelScreen::takeDbReference);
    connect(c_.SetDBBtn, &QAbstractButton::clicked, this, &TChannelScreen::takeDbReference);
    connect(c_.ManualDBBtn, &QAbstractButton::clicked, this, [this] { refresh(); });

    // "OUT" and switching to "Con" send the program shift; "0" sets zero in the device only.
    connect(c_.ShiftOutBtn, &QAbstractButton::clicked, this, &TChannelScreen::sendDeviceShift);
    connect(c_.ConShiftBtn, &QAbstractButton::clicked, this, &TChannelScreen::sendDeviceShift);
    connect(c_.ShiftNullBtn, &QAbstractButton::clicked, this, [this] {
        deviceShift_ = ZeroShift;
        generator_.ChangeShift(channel_, deviceShift_);
        refresh();
    });

    connect(c_.LoadOpenBtn, &QAbstractButton::clicked, this,
            [this] { applyLoad(generator::OpenLoad); });
    connect(c_.Load50Btn, &QAbstractButton::clicked, this, [this] { applyLoad(FiftyOhms); });
    // The automatic filter choice writes the box too, and is handled as a choice of the user.
    connect(c_.FilterBox, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!busy_) filterChosen(item);
    });
    refresh();
}

void TChannelScreen::applyAll() {
    levelCode_ = barCode(c_.LevelBar);
    programShift_ = barCode(c_.ShiftBar);
    if (c_.ConShiftBtn->isChecked()) deviceShift_ = programShift_;
    generator_.ChangeLoad(channel_, load_);
    generator_.ChangeFilter(channel_, filter());
    generator_.ChangeLevel(channel_, levelCode_);
    generator_.ChangeShift(channel_, deviceShift_);
    generator_.ChangeOutputState(channel_, outputFromButtons());
    generator_.ChangeExternalLevel(channel_, c_.ExtLevelOnBtn->isChecked() ? 1 : 0);
    initialised_ = true;
    refresh();
}

std::int32_t TChannelScreen::filter() const {
    return c_.FilterBox->currentIndex();
}

std::int32_t TChannelScreen::outputFromButtons() const {
    if (c_.OutputOffBtn->isChecked()) return generator::OutputOff;
    if (c_.Output20Btn->isChecked()) return generator::OutputMinus20dB;
    return generator::OutputNormal;
}

// ---------------------------------------------------------------- level

void TChannelScreen::levelBarMoved() {
    levelCode_ = barCode(c_.LevelBar);
    generator_.ChangeLevel(channel_, levelCode_);
    if (c_.AutoDBBtn->isChecked()) dbReference_ = waveformMillivolts();
    refresh();
}

double TChannelScreen::waveformMillivolts() const {
    return ::waveformMillivolts(generator_.LevelVolts(channel_, levelCode_), peakToPeak_);
}

void TChannelScreen::takeDbReference() {
    dbReference_ = waveformMillivolts();
    refresh();
}

void TChannelScreen::setDbReference(double millivolts) {
    dbReference_ = millivolts;
    refresh();
}

void TChannelScreen::outputChosen(std::int32_t state) {
    generator_.ChangeOutputState(channel_, state);
    refresh();
}

void TChannelScreen::showOutput(std::int32_t state) {
    const QScopedValueRollback writing(busy_, true);
    QAbstractButton* button = state == generator::OutputOff         ? c_.OutputOffBtn
                              : state == generator::OutputMinus20dB ? c_.Output20Btn
                                                                    : c_.Output0Btn;
    button->setChecked(true);
}

void TChannelScreen::setLevelMillivolts(double millivolts) {
    const AttenuatorChoice path = chooseAttenuator(millivolts, LoadFactor(load_));
    showOutput(path.outputState);
    generator_.ChangeOutputState(channel_, path.outputState);
    generator_.ChangeLevel(channel_, levelCode_);
    generator_.ChangeShift(channel_, deviceShift_);
    setBarCode(c_.LevelBar, LevelCodeFromVolts(load_, path.pathMillivolts));
    // The bar may already have stood there; the read-outs follow the new path either way.
    refresh();
}

void TChannelScreen::vppEntered() {
    const std::optional<double> volts = parseVoltage(c_.VppEdit->text().toStdString());
    if (volts && peakToPeak_ != 0) setLevelMillivolts(fullScaleForVpp(*volts, peakToPeak_));
    c_.VppEdit->selectAll();
}

void TChannelScreen::dbEntered() {
    const std::optional<double> db =
        parseDecimal(commaToPoint(c_.dBEdit->text().trimmed().toStdString()));
    if (db && peakToPeak_ != 0) setLevelMillivolts(fullScaleForDb(*db, dbReference_, peakToPeak_));
    c_.dBEdit->selectAll();
}

// ---------------------------------------------------------------- shift

void TChannelScreen::shiftBarChanged() {
    programShift_ = barCode(c_.ShiftBar);
    if (c_.ConShiftBtn->isChecked()) deviceShift_ = programShift_;
    generator_.ChangeShift(channel_, deviceShift_);
    refresh();
}

void TChannelScreen::sendDeviceShift() {
    deviceShift_ = programShift_;
    generator_.ChangeShift(channel_, deviceShift_);
    refresh();
}

void TChannelScreen::setShiftCode(std::int32_t code) {
    programShift_ = deviceShift_ = clampCode(code);
    {
        const QScopedValueRollback writing(busy_, true);
        setBarCode(c_.ShiftBar, programShift_);
    }
    generator_.ChangeShift(channel_, deviceShift_);
    refresh();
}

void TChannelScreen::vpEntered() {
    const std::optional<double> volts = parseVoltage(c_.VpEdit->text().toStdString());
    if (volts) {
        const int sample = c_.VpPlusBtn->isChecked() ? maxSample_ : minSample_;
        const double shift = generator_.OffsetVolts(channel_, programShift_) +
                             (*volts * 1000.0 - generator_.SampleVolts(channel_, sample));
        setBarCode(c_.ShiftBar, generator_.ShiftCodeFromVolts(channel_, shift));
    }
    c_.VpEdit->selectAll();
}

// ---------------------------------------------------------------- load and filter

void TChannelScreen::setLoad(std::int32_t ohms) {
    load_ = ohms;
    generator_.ChangeLoad(channel_, ohms);
    showLoad();
}

// The output voltages stay: level and shift taken with the old load are reached with the new.
void TChannelScreen::applyLoad(std::int32_t ohms) {
    const double level = generator_.LevelVolts(channel_, levelCode_);
    const double shift = generator_.OffsetVolts(channel_, programShift_);
    setLoad(ohms);
    const ChannelCodes codes = codesForVoltages(level, shift, ohms);
    {
        const QScopedValueRollback moving(suppressRefresh_, true);
        showOutput(codes.outputState);
        generator_.ChangeOutputState(channel_, codes.outputState);
        setBarCode(c_.LevelBar, codes.levelCode);
        setBarCode(c_.ShiftBar, codes.shiftCode);
    }
    refresh();
}

void TChannelScreen::loadEntered() {
    const QString text = c_.LoadEdit->text().trimmed();
    if (text.toLower() == QStringLiteral("open")) {
        applyLoad(generator::OpenLoad);
        return;
    }
    bool ok = false;
    const int ohms = text.toInt(&ok);
    if (ok && ohms >= 1)
        applyLoad(ohms);
    else
        showLoad();
}

void TChannelScreen::showLoad() {
    const QScopedValueRollback writing(busy_, true);
    // Neither button is down for a typed load other than 50 ohms.
    QButtonGroup* group = c_.LoadOpenBtn->group();
    if (group) group->setExclusive(false);
    c_.LoadOpenBtn->setChecked(load_ < 0);
    c_.Load50Btn->setChecked(load_ == FiftyOhms);
    if (group) group->setExclusive(true);
    c_.LoadEdit->setText(load_ < 0 ? QStringLiteral("Open") : QString::number(load_));
}

void TChannelScreen::filterChosen(int item) {
    generator_.ChangeFilter(channel_, item);
}

// ---------------------------------------------------------------- read-outs

void TChannelScreen::refresh() {
    if (suppressRefresh_) return;
    const QScopedValueRollback writing(busy_, true);
    const WaveformRecord* wave = generator_.Wave(channel_);
    ChannelReadoutInput in;
    if (wave != nullptr && !wave->isEmpty()) {
        maxSample_ = wave->maxSample;
        minSample_ = wave->minSample;
        peakToPeak_ = wave->peakToPeak;
        in.points = wave->points;
        in.meanSample = wave->meanSample;
    } else {
        maxSample_ = minSample_ = 128;
        peakToPeak_ = 0;
    }
    in.maxSample = maxSample_;
    in.minSample = minSample_;
    in.fullScaleMillivolts = generator_.LevelVolts(channel_, levelCode_);
    // The output follows the codes the instrument was given.
    in.millivoltsPerStep = generator_.LevelVolts(channel_, generator_.level(channel_)) / 254.0;
    in.shiftMillivolts = generator_.OffsetVolts(channel_, generator_.shift(channel_));
    in.attenuated = generator_.outputState(channel_) == generator::OutputMinus20dB;
    in.plusPeak = c_.VpPlusBtn->isChecked();
    in.acRms = acRms_;
    in.unit = static_cast<LevelUnit>(std::clamp(c_.LevelUnitsBox->currentIndex(), 0, 3));
    in.load = load_;
    const ChannelReadouts out = channelReadouts(in);

    const auto show = [](QAbstractButton* toggle, QLineEdit* edit, double volts) {
        edit->setText(toggle->isChecked() ? QString::fromStdString(voltsText(volts)) : QString());
        return toggle->isChecked();
    };
    // Level entries follow the level bar, which the import mode's level lock disables.
    const bool levelFree = c_.LevelBar->isEnabled();
    c_.VppEdit->setEnabled(show(c_.VppBtn, c_.VppEdit, out.vpp) && peakToPeak_ != 0 && levelFree);
    c_.VpEdit->setEnabled(show(c_.VpBtn, c_.VpEdit, out.vp));
    show(c_.VavgBtn, c_.VavgEdit, out.vavg);
    show(c_.VRmsBtn, c_.VRmsEdit, out.vrms);
    c_.LevelEdit->setText(QString::fromStdString(out.absoluteLevel));
    c_.dBEdit->setText(
        QString::fromStdString(relativeDbText(in.fullScaleMillivolts, peakToPeak_, dbReference_)));
    c_.dBEdit->setEnabled(peakToPeak_ != 0 && levelFree);
    showInRed(*c_.levelLabel, out.levelWarning);
    showInRed(*c_.shiftLabel, out.shiftWarning);

    c_.ShiftEdit->setText(QString::fromStdString(
        voltsText(generator_.OffsetVolts(channel_, programShift_) / 1000.0)));
    c_.ShiftOutEdit->setText(
        QString::fromStdString(voltsText(generator_.OffsetVolts(channel_, deviceShift_) / 1000.0)));
}
