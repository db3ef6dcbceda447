#pragma once

#include <QDialog>
#include <memory>

#include "generators/ComplexMath.h"
#include "generators/MathParameterBlock.h"
#include "panels/WaveScreen.h"
#include "shell/DialogMessages.h"
#include "waves/WaveformRecord.h"

class TPictureBox;

namespace Ui {
class TMathForm;
}

// "Math editor": computes a waveform from formulas, each mapping a real range of x onto a range
// of waveform points. In simple mode the edits are the one formula; in advanced mode up to 16
// formulas are collected in a list and computed in order. It works on a copy of the waveform it
// is given; the formula parameters travel with the result as its params, so that the editor
// (or the options dialog, for y and z) can open it again.
class TMathForm : public QDialog {
    Q_OBJECT

public:
    // previewArea: the picture the preview draws into when the editor works for the options
    // dialog without being shown; its own otherwise.
    explicit TMathForm(const WaveformRecord& source, QWidget* parent = nullptr,
                       TPictureBox* previewArea = nullptr);
    ~TMathForm() override;

    Ui::TMathForm& controls() { return *ui; }
    // The work copy: the waveform computed so far, with the parameters after a successful OK.
    const WaveformRecord& result() const { return work_; }
    // OK computed every formula without an error: result() is the waveform made.
    bool produced() const { return produced_; }
    const MathParameterBlock& block() const { return block_; }

    // ---- handlers ----
    void AddbtnClick();
    void ReplaceBtnClick();
    void DeleteBtnClick();
    // Loads the slot of the line into the edits.
    void FormulaListDblClick(int row);
    void CountBtnClick();
    void AdvModeButtonClick();
    // Computes and, without an error, stores the parameters with the work copy; closes with
    // OK in either case.
    void OkBtnClick();

private:
    void addToList(int replaceIndex);
    void applyMode(bool advanced);
    void refreshList();
    void fillEdits(const MathSlot& slot);
    void fillConstants(const MathConstants& constants);
    void enableConstantEdits();
    MathSlot slotFromEdits() const;
    MathConstants constantsFromEdits() const;
    void storeValueTexts();
    // Takes the edits into the parameters, computes the work copy and shows it; false after
    // the message when a formula fails.
    bool compute();

    std::unique_ptr<Ui::TMathForm> ui;
    DialogMessages messages_;
    FormulaContext context_;
    TComplexMath expression_{context_};
    MathParameterBlock block_;
    WaveformRecord work_;
    TWaveScreen preview_;
    bool produced_ = false;
};
