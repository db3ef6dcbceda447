#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "generators/HarmonicParameterBlock.h"
#include "panels/WaveScreen.h"
#include "shell/DialogMessages.h"
#include "waves/WaveformRecord.h"

class THarmonicLevelForm;

namespace Ui {
class THarmonicForm;
}

// "Harmonic components editor": a fundamental sine plus up to 256 harmonics, added one at a
// time or in groups (every or every second harmonic from a first one), each with a level in dB
// or % and a phase asked in the level dialog or proposed by a formula of n. Up to six can be
// marked for the data view. It works on a copy of the waveform it is given, recomputes it
// after every change of the list, and on "Ok" stores the list with it (generatorKind 3) so that
// it can be edited again.
class THarmonicForm : public QDialog {
    Q_OBJECT

public:
    explicit THarmonicForm(const WaveformRecord& source, QWidget* parent = nullptr);
    ~THarmonicForm() override;

    Ui::THarmonicForm& controls() { return *ui; }
    THarmonicLevelForm& levelForm() { return *levelForm_; }
    const HarmonicParameterBlock& block() const { return block_; }
    // The work copy: the composition so far, with its parameters after "Ok".
    const WaveformRecord& result() const { return work_; }

    // ---- handlers ----
    void Button1Click();
    void AddCustomToListClick();
    void EditBtnClick();
    void DeleteItemsBtnClick();
    void MarkBtnClick();
    void UnMarkBtnClick();
    void ClearListBtnClick();
    void Button2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks for harmonic n's level and adds it; false when no more of a group may be added.
    bool addHarmonic(std::int32_t number);
    // The proposed level of a new add: 100 % or 0 dB, by the last unit.
    void proposeDefaultLevel();
    std::vector<int> selectedLines() const;
    void recompute();
    void refreshList();

    std::unique_ptr<Ui::THarmonicForm> ui;
    DialogMessages messages_;
    HarmonicParameterBlock block_;
    WaveformRecord work_;
    TWaveScreen preview_;
    std::unique_ptr<THarmonicLevelForm> levelForm_;
    double proposedLevel_ = 0;
    bool lastUnitPercent_ = false;
    bool finish_ = false;   // the running group takes the proposed level without asking
    bool pairing_ = false;  // "+1" and "+2" are being paired
};
