#pragma once

#include <QObject>
#include <cstdint>

#include "shell/ChannelPanelLink.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class TVirtualGenerator;

namespace Ui {
class TMainForm;
}

// The panel of one analog channel: level and shift bars, the -20 dB attenuator and output
// switch, load, output filter and external level, with the level read out as peak-to-peak,
// peak, average and RMS voltage and in dB. It owns no controls: the main window hands them
// over, and the panel installs its handlers and keeps a busy flag while it writes them. Every
// change reaches the instrument through the generator model.
//
// Codes: level and shift 0..4096 (bar position = 4096 - code, top = high), shift 2048 = 0 V;
// output 0 off, 1 0 dB, 2 -20 dB; filter 0 "Low", 1 "High", 2 "Off"; load in ohms, -1 open.
class TChannelScreen final : public QObject, public ChannelPanelLink {
    Q_OBJECT

public:
    // The controls of one channel (channel A's names; channel B's end in B).
    struct Controls {
        QAbstractButton* VppBtn;
        QAbstractButton* VavgBtn;
        QAbstractButton* VRmsBtn;
        QAbstractButton* VpBtn;
        QLineEdit* VppEdit;
        QLineEdit* VavgEdit;
        QLineEdit* VRmsEdit;
        QLineEdit* VpEdit;
        QAbstractButton* VpPlusBtn;
        QAbstractButton* VpMinusBtn;
        QAbstractButton* ExtLevelOnBtn;
        QAbstractButton* ExtLevelOffBtn;
        QComboBox* LevelUnitsBox;
        QLineEdit* LevelEdit;
        QScrollBar* LevelBar;
        QAbstractButton* AutoDBBtn;
        QAbstractButton* ManualDBBtn;
        QAbstractButton* SetDBBtn;
        QLineEdit* dBEdit;
        QAbstractButton* ConShiftBtn;
        QAbstractButton* StepShiftBtn;
        QLineEdit* ShiftEdit;
        QAbstractButton* ShiftOutBtn;
        QAbstractButton* ShiftNullBtn;
        QLineEdit* ShiftOutEdit;
        QScrollBar* ShiftBar;
        QAbstractButton* LoadOpenBtn;
        QAbstractButton* Load50Btn;
        QLineEdit* LoadEdit;
        QComboBox* FilterBox;
        QAbstractButton* OutputOffBtn;
        QAbstractButton* Output20Btn;
        QAbstractButton* Output0Btn;
        QLabel* levelLabel;  // "Lvl": red while the level is out of its good range
        QLabel* shiftLabel;  // "Shift": red while a peak lies beyond 8 V
    };
    // The main window's controls of a channel (0 A, 1 B).
    static Controls controlsOf(Ui::TMainForm& ui, int channel);

    TChannelScreen(int channel, TVirtualGenerator& generator, Controls controls,
                   QObject* parent = nullptr);

    // Installs the handlers and shows the start values (level and both shifts 2048, open load,
    // filter "Off").
    void initialise();
    // Sends load, filter, level, shift, output and external level to the generator model.
    void applyAll();
    bool initialised() const { return initialised_; }
    // A full-scale level from outside (an import dialog): the attenuator choice, then the level
    // bar moves to it.
    void setLevelMillivolts(double millivolts);
    // The program and the device shift, sent.
    void setShiftCode(std::int32_t code);
    // Recomputes every read-out from the channel's waveform and the generator model.
    void refresh();

    int channel() const { return channel_; }
    std::int32_t levelCode() const { return levelCode_; }
    std::int32_t programShiftCode() const { return programShift_; }
    std::int32_t deviceShiftCode() const { return deviceShift_; }
    std::int32_t filter() const;
    bool acRms() const { return acRms_; }

    // ---- ChannelPanelLink ----
    void refreshValues() override { refresh(); }
    void refreshReadouts() override { refresh(); }
    void setAcRms(bool on) override { acRms_ = on; }
    void shiftBarChanged() override;
    double dbReference() const override { return dbReference_; }
    void setDbReference(double millivolts) override;
    std::int32_t load() const override { return load_; }
    void setLoad(std::int32_t ohms) override;

private:
    void levelBarMoved();
    void outputChosen(std::int32_t state);
    void filterChosen(int item);
    void sendDeviceShift();
    void showOutput(std::int32_t state);
    void applyLoad(std::int32_t ohms);
    void showLoad();
    void takeDbReference();
    void vppEntered();
    void vpEntered();
    void dbEntered();
    void loadEntered();
    std::int32_t outputFromButtons() const;
    double waveformMillivolts() const;

    int channel_;
    TVirtualGenerator& generator_;
    Controls c_;

    std::int32_t load_ = -1;
    std::int32_t levelCode_ = 2048;
    std::int32_t programShift_ = 2048;
    std::int32_t deviceShift_ = 2048;
    // From the channel's waveform at every refresh.
    std::int32_t maxSample_ = 128;
    std::int32_t minSample_ = 128;
    std::int32_t peakToPeak_ = 0;
    // 8400 mV: the full-scale level of level code 2048 into an open output.
    double dbReference_ = 8400;
    bool acRms_ = false;
    bool busy_ = false;
    bool suppressRefresh_ = false;
    bool initialised_ = false;
};
