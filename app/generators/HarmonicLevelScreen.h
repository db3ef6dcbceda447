#pragma once

#include <QDialog>
#include <memory>

#include "generators/HarmonicParameterBlock.h"
#include "shell/DialogMessages.h"

namespace Ui {
class THarmonicLevelForm;
}

// "Select level of harmonic": the level (in dB or %) and the phase (whole degrees) of one
// harmonic of the composer. "Finish" takes the values as "Ok" does and tells the composer that
// the rest of the group takes the same level without asking; "Abort" adds no more harmonics.
class THarmonicLevelForm : public QDialog {
    Q_OBJECT

public:
    // What closed the dialog, as exec() returns it.
    enum Result { Cancelled = QDialog::Rejected, Taken = QDialog::Accepted, Finished, Aborted };

    explicit THarmonicLevelForm(QWidget* parent = nullptr);
    ~THarmonicLevelForm() override;

    Ui::THarmonicLevelForm& controls() { return *ui; }

    // Shows harmonic `harmonic.number` with the level (in its shortest form) and unit given;
    // the phase is shown only when `withPhase` (an edit), else the phase typed last stays.
    void setHarmonic(const HarmonicRecord& harmonic, double level, bool percent, bool withPhase);
    // The harmonic with the values last taken.
    const HarmonicRecord& harmonic() const { return harmonic_; }
    bool percent() const;

    // The work of "Ok" without closing: the level text is normalised ("," read as the point)
    // and written back, and the values go into the harmonic. False, after the message, when
    // they are refused (the harmonic is unchanged then).
    bool takeValues();

    void OkBtnClick();
    void FinishBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::THarmonicLevelForm> ui;
    DialogMessages messages_;
    HarmonicRecord harmonic_;
};
