#pragma once

#include <QDialog>
#include <memory>

#include "generators/SquareWave.h"

class TPictureBox;

namespace Ui {
class TSquareForm;
}

// "Square wave": the options of a square waveform, the share of the period at the low level
// and at the high level. Typing one share sets the other to the rest of 100; "Ok" rebuilds the
// waveform with the shares.
class TSquareForm : public QDialog {
    Q_OBJECT

public:
    // On "Ok" the record becomes the square wave of the shares shown.
    explicit TSquareForm(WaveformRecord& record, QWidget* parent = nullptr);
    ~TSquareForm() override;

    Ui::TSquareForm& controls() { return *ui; }
    const SquareShares& shares() const { return shares_; }

    void OkBtnClick();

private:
    // A whole number typed into one field: that share (0..100) and the other one.
    void shareTyped(bool low, const QString& text);
    void showShares();
    void drawShape(TPictureBox& picture, bool lowMarked);

    std::unique_ptr<Ui::TSquareForm> ui;
    WaveformRecord& record_;
    SquareShares shares_;
    bool writing_ = false;  // the fields are being rewritten
};
