#pragma once

#include <QDialog>
#include <memory>

#include "import/CursorTracking.h"
#include "panels/WaveScreen.h"

class WaveformRecord;

namespace Ui {
class TImportSingleFromScopeForm;
}

// "Import from scope" for the one channel of a file assigned to channel A or B: one display
// whose reference cursors open at 0 and at `openingEnd` (the imported waveform's length + 1,
// so that the stretch first marked is as long as the waveform already imported) and move
// together. No period search. "Ok" refuses an empty stretch.
class TImportSingleFromScopeForm : public QDialog {
    Q_OBJECT

public:
    // The record is the caller's and must outlive the dialog.
    TImportSingleFromScopeForm(const WaveformRecord& record, int openingEnd,
                               QWidget* parent = nullptr);
    ~TImportSingleFromScopeForm() override;

    CursorPair cursors() const { return pair_; }
    // Reference cursor 1 or 2 moved to a point, as dragging it does.
    void moveRangeCursor(int number, int point);

    TWaveScreen& display() { return *display_; }
    Ui::TImportSingleFromScopeForm& controls() { return *ui; }

    void accept() override;

private:
    void rangeCursorMoved(int number);
    void setPair(CursorPair pair);

    std::unique_ptr<Ui::TImportSingleFromScopeForm> ui;
    const WaveformRecord& record_;
    std::unique_ptr<TWaveScreen> display_;
    CursorPair pair_;
};
