#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "import/CursorTracking.h"
#include "panels/WaveScreen.h"

class ProgressReporter;
class WaveformRecord;

namespace Ui {
class TImportFromScopeForm;
}

// "Import from scope" for two channels: each display shows one recorded channel with the two
// reference cursors that mark the stretch to import; both stretches are kept equally long.
// When first shown the dialog searches for the period (channel A, then B) under the progress
// window and, when it finds one, marks one period on both displays with "Track cursors" down.
// "Ok" refuses an empty stretch; the caller cuts the stretches after the dialog has closed.
class TImportFromScopeForm : public QDialog {
    Q_OBJECT

public:
    // The records are the caller's and must outlive the dialog.
    TImportFromScopeForm(const WaveformRecord& recordA, const WaveformRecord& recordB,
                         ProgressReporter& progress, QWidget* parent = nullptr);
    ~TImportFromScopeForm() override;

    // The reference cursors of a display (0 A, 1 B).
    CursorPair cursors(int channel) const;
    // Reference cursor 1 or 2 of a display moved to a point, as dragging it does.
    void moveRangeCursor(int channel, int number, int point);
    // The search of the opening has ended (found, not found or broken off).
    bool periodSearchDone() const { return searchDone_; }

    TWaveScreen& display(int channel) { return *displays_[channel == 0 ? 0 : 1]; }
    Ui::TImportFromScopeForm& controls() { return *ui; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void searchPeriod();
    void rangeCursorMoved(int channel, int number);
    void setPair(int channel, CursorPair pair);
    void keepEqual(int movedChannel);
    void showDistances();
    bool tracking(int channel) const;
    int pointCount(int channel) const;

    std::unique_ptr<Ui::TImportFromScopeForm> ui;
    std::array<const WaveformRecord*, 2> records_;
    ProgressReporter& progress_;
    std::array<std::unique_ptr<TWaveScreen>, 2> displays_;
    // The cursors as last seen, to move a tracked pair by the distance dragged.
    std::array<CursorPair, 2> pairs_{};
    bool searchStarted_ = false;
    bool searchDone_ = false;
};
