#include "device/VirtualGenerator.h"

#include <span>

#include "core/OperatingMode.h"
#include "core/UserMessages.h"
#include "device/DriverApi.h"
#include "device/FilterChoice.h"
#include "device/VirtualDriver.h"
#include "digital/DigitalWave.h"
#include "waves/WaveformRecord.h"

namespace {

constexpr double FilterOffFrom = 15000000.0;
constexpr double FilterHighFrom = 2500000.0;
// The octave factor stays a power of two that fits; an absurd frequency or a zero oscillator
// must not loop for ever or overflow.
constexpr std::int32_t LargestSampleStep = 1 << 30;

std::span<const std::uint8_t> pointsOf(const WaveformRecord* record) {
    if (record == nullptr) return {};
    return record->points;
}

}  // namespace

TVirtualGenerator::TVirtualGenerator(VirtualDriver& driver, const CurrentModeSource& mode,
                                     UserMessages& messages)
    : driver_(driver), mode_(mode) {
    driver_.setSuspended(false);
    if (driver_.InitDevice() != initresult::Initialized)
        messages.error("Nie je mozne inicializovat generator.\r\nProgram pobezi v rezime demo.");
    oscillatorPer16384_ = driver_.ReadOscillator() / 16384.0;
    driver_.setSuspended(true);
}

// ---- frequencies ----------------------------------------------------------------------------

void TVirtualGenerator::ChangeFrequency(double f) {
    const int mode = mode_.currentMode();
    if (mode == ModeDigital) return ChangeDigitalTickFrequency(f);
    if (mode == ModeImport) return ChangeImportTickFrequency(f);
    ChangeAnalogFrequency(f);
}

void TVirtualGenerator::ChangeAnalogFrequency(double f) {
    if (unchanged(frequency_, f)) return;
    frequency_ = driver_.SendFrequency(0, f);
    AutoFilter();
    sampleStep_ = 1;
    double g = frequency_;
    while (g > oscillatorPer16384_ && sampleStep_ < LargestSampleStep) {
        g /= 2;
        sampleStep_ *= 2;
    }
    fire(OnChange);
    fire(OnFrequency);
}

void TVirtualGenerator::ChangeDigitalTickFrequency(double f) {
    if (unchanged(digitalTickFrequency_, f)) return;
    digitalTickFrequency_ = driver_.SendFrequency(1, f);
    fire(OnTickFrequency);
}

void TVirtualGenerator::ChangeImportTickFrequency(double f) {
    if (unchanged(importTickFrequency_, f)) return;
    importTickFrequency_ = driver_.SendFrequency(1, f);
    fire(OnImportTickFrequency);
}

double TVirtualGenerator::ModeFrequency() const {
    switch (mode_.currentMode()) {
        case ModeAnalog:
            return frequency_;
        case ModeDigital:
            return digitalTickFrequency_;
        case ModeImport:
            return importTickFrequency_;
        default:
            return -1;
    }
}

void TVirtualGenerator::ChangeMultiplier(std::int32_t m) {
    if (unchanged(multiplier_, m)) return;
    multiplier_ = m;
    fire(OnChange);
    fire(OnFrequency);
    if (driver_.SendMultiplier(m, true) == 1) sendWave(1, channels_[1].wave, phaseB_);
}

void TVirtualGenerator::ChangePhase(std::int32_t p) {
    if (unchanged(phaseB_, p)) return;
    driver_.SendPhase(pointsOf(channels_[1].wave), p);
    phaseB_ = p;
}

// ---- waveforms ------------------------------------------------------------------------------

void TVirtualGenerator::ChangeWave(int channel, const WaveformRecord& record) {
    Channel& c = channels_[side(channel)];
    if (mode_.currentMode() == ModeAnalog)
        c.wave = &record;
    else
        c.importWave = &record;
    sendWave(channel, &record, phaseB_);
    // A waveform with more harmonics may need another filter, as a new frequency may.
    AutoFilter();
    fire(OnWave, channel);
}

int TVirtualGenerator::currentMode() const {
    return mode_.currentMode();
}

const WaveformRecord* TVirtualGenerator::Wave(int channel) const {
    const Channel& c = channels_[side(channel)];
    return mode_.currentMode() == ModeAnalog ? c.wave : c.importWave;
}

void TVirtualGenerator::ChangeDigitalSequence(const TDigitalWave& sequence) {
    digitalSequence_ = &sequence;
    driver_.SendWave(sequence.words());
    // Digital mode entered with an empty sequence sent its tick frequency while the instrument
    // still held the analog octave sets; the first sequence uploaded must play at it.
    if (mode_.currentMode() == ModeDigital && !sequence.empty())
        digitalTickFrequency_ = driver_.SendFrequency(1, digitalTickFrequency_);
}

void TVirtualGenerator::sendWave(int channel, const WaveformRecord* record, std::int32_t phase) {
    driver_.SendWave(channel, pointsOf(record), phase);
}

// ---- channel settings -----------------------------------------------------------------------

void TVirtualGenerator::zeroLineMoved(int channel) {
    if (OnZeroLine && !noZeroLineEvent) OnZeroLine(*this, channel, ZeroLine(channel));
    fire(OnChannel, channel);
}

void TVirtualGenerator::ChangeLevel(int channel, std::int32_t code) {
    Channel& c = channels_[side(channel)];
    if (unchanged(c.level, code)) return;
    c.level = code;
    driver_.SendLevel(channel, code);
    zeroLineMoved(channel);
}

void TVirtualGenerator::ChangeShift(int channel, std::int32_t code) {
    Channel& c = channels_[side(channel)];
    if (unchanged(c.shift, code)) return;
    c.shift = code;
    driver_.SendShift(channel, code);
    zeroLineMoved(channel);
}

void TVirtualGenerator::ChangeLoad(int channel, std::int32_t ohms) {
    Channel& c = channels_[side(channel)];
    if (unchanged(c.load, ohms)) return;
    c.load = ohms;
    fire(OnChannel, channel);
}

void TVirtualGenerator::ChangeOutputState(int channel, std::int32_t state) {
    channels_[side(channel)].outputState = state;
    fire(OnChange);
    fire(OnChannel, channel);
    driver_.SendOutputState(channel, state);
}

void TVirtualGenerator::ChangeFilter(int channel, std::int32_t filter) {
    Channel& c = channels_[side(channel)];
    if (unchanged(c.filter, filter)) return;
    c.filter = filter;
    driver_.SendFilter(channel, filter);
}

void TVirtualGenerator::ChangeExternalLevel(int channel, std::int32_t v) {
    Channel& c = channels_[side(channel)];
    if (unchanged(c.externalLevel, v)) return;
    c.externalLevel = v;
    driver_.SendExternalLevel(channel, v);
}

// ---- trigger, run and digital outputs -------------------------------------------------------

void TVirtualGenerator::ChangeDigitalOutputs(std::int32_t v) {
    if (unchanged(digitalOutputs_, v)) return;
    // Digital mode drives the outputs itself (ApplyMode).
    if (mode_.currentMode() != ModeDigital) driver_.SendDigitalOutputs(v);
    digitalOutputs_ = v;
}

void TVirtualGenerator::ChangeTriggerEdge(std::int32_t v) {
    if (unchanged(triggerEdge_, v)) return;
    driver_.SendTriggerEdge(v == 1 ? 0 : 1);
    triggerEdge_ = v;
}

void TVirtualGenerator::ChangeTriggerMode(std::int32_t v) {
    if (unchanged(triggerMode_, v)) return;
    driver_.SendTriggerMode(v == 1 ? 0 : 1);
    triggerMode_ = v;
}

void TVirtualGenerator::ChangeTriggerStyle(std::int32_t v) {
    if (unchanged(triggerStyle_, v)) return;
    if (v == 0) driver_.SendGeneratorOn(1);
    driver_.SendTriggerStyle(v);
    triggerStyle_ = v;
}

void TVirtualGenerator::ChangeRun(bool run) {
    driver_.SendGeneratorOn(run ? 1 : 0);
}

void TVirtualGenerator::Restart() {
    driver_.SendGeneratorOn(0);
    driver_.SendGeneratorOn(1);
}

void TVirtualGenerator::ChangeDigitalVoltage(std::int32_t v) {
    driver_.SendDigitalVoltage(v);
}

void TVirtualGenerator::ChangeAutoFilter(bool on) {
    if (unchanged(autoFilter_, on)) return;
    autoFilter_ = on;
    AutoFilter();
}

void TVirtualGenerator::AutoFilter() {
    if (!autoFilter_ || mode_.currentMode() != ModeAnalog || !active_) return;
    for (int channel = 0; channel < 2; ++channel) {
        const WaveformRecord* wave = channels_[side(channel)].wave;
        if (wave == nullptr) continue;
        double r = wave->harmonicCount * frequency_;
        if (channel == 1) r *= multiplier_;
        const int choice = r >= FilterOffFrom ? 2 : r >= FilterHighFrom ? 1 : 0;
        if (filterChoice_ != nullptr) {
            if (choice != filterChoice_->shownFilter(channel))
                filterChoice_->chooseFilter(channel, choice);
        } else if (choice != filter(channel)) {
            ChangeFilter(channel, choice);
        }
    }
}

// ---- the whole setting ----------------------------------------------------------------------

void TVirtualGenerator::sendChannelSettings() {
    for (int channel = 0; channel < 2; ++channel)
        driver_.SendShift(channel, shift(channel));
    for (int channel = 0; channel < 2; ++channel)
        driver_.SendLevel(channel, level(channel));
    for (int channel = 0; channel < 2; ++channel)
        driver_.SendExternalLevel(channel, externalLevel(channel));
    for (int channel = 0; channel < 2; ++channel)
        driver_.SendOutputState(channel, outputState(channel));
    driver_.SendDigitalOutputs(digitalOutputs_);
}

void TVirtualGenerator::ApplyMode(bool keepWaves) {
    switch (mode_.currentMode()) {
        case ModeAnalog:
            driver_.SendMultiplier(multiplier_, false);
            if (!keepWaves) {
                sendWave(0, channels_[0].wave, phaseB_);
                sendWave(1, channels_[1].wave, phaseB_);
                frequency_ = driver_.SendFrequency(0, frequency_);
            } else {
                driver_.SendFrequency(0, frequency_);
            }
            break;
        case ModeDigital:
            if (!keepWaves && digitalSequence_ != nullptr)
                driver_.SendWave(digitalSequence_->words());
            digitalTickFrequency_ = driver_.SendFrequency(1, digitalTickFrequency_);
            driver_.SendDigitalOutputs(1);
            driver_.SendOutputState(0, 1);
            driver_.SendOutputState(1, 1);
            return;
        case ModeImport:
            if (!keepWaves) {
                sendWave(0, channels_[0].importWave, 0);
                sendWave(1, channels_[1].importWave, 0);
            }
            importTickFrequency_ = driver_.SendFrequency(1, importTickFrequency_);
            break;
        default:
            return;
    }
    sendChannelSettings();
    if (!keepWaves && autoFilter_) AutoFilter();
    for (int channel = 0; channel < 2; ++channel)
        driver_.SendFilter(channel, filter(channel));
}

void TVirtualGenerator::Activate() {
    active_ = true;
    fire(OnChange);
    driver_.setSuspended(false);
}

// ---- conversions ----------------------------------------------------------------------------

generator::OutputPath TVirtualGenerator::path(int channel) const {
    return {load(channel), outputState(channel)};
}

double TVirtualGenerator::LoadFactor(int channel) const {
    return ::LoadFactor(load(channel));
}

double TVirtualGenerator::OffsetVolts(int channel, std::int32_t code) const {
    return ::OffsetVolts(path(channel), code);
}

double TVirtualGenerator::LevelVolts(int channel, std::int32_t code) const {
    return ::LevelVolts(path(channel), code);
}

std::int32_t TVirtualGenerator::ShiftCodeFromVolts(int channel, double millivolts) const {
    return ::ShiftCodeFromVolts(path(channel), millivolts);
}

std::int32_t TVirtualGenerator::LevelCodeFromVolts(int channel, double millivolts) const {
    return ::LevelCodeFromVolts(load(channel), millivolts);
}

double TVirtualGenerator::SampleVolts(int channel, double sample) const {
    return ::SampleVolts(path(channel), level(channel), shift(channel), sample);
}

std::int32_t TVirtualGenerator::ZeroLine(int channel) const {
    return ::ZeroLine(level(channel), shift(channel));
}
