#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "generators/HandDrawing.h"
#include "generators/HandUndoHistory.h"
#include "generators/WaveformEditors.h"
#include "panels/WaveScreen.h"
#include "panels/ZoomButtons.h"

namespace Ui {
class THandForm;
}

// "Hand editor": the waveform drawn with the mouse on a waveform display, with the pen, line
// and curve tools. "Undo" takes back the last stroke and "Undo tool" everything done since the
// tool was chosen; Ctrl+Z and Ctrl+Y step back and forth through every change made. While a
// tool is on, the mouse draws, so the zoom modes that need a click (zoom max, zoom in, over
// zoom) wait until it is off. Cursor and pointer read-outs are at the channel's frequency and
// level. It works on a copy of the waveform given; "Ok" gives back the drawing as a plain
// waveform (generatorKind 0).
class THandForm : public QDialog {
    Q_OBJECT

public:
    THandForm(const WaveformRecord& source, const EditorContext& context,
              QWidget* parent = nullptr);
    ~THandForm() override;

    Ui::THandForm& controls() { return *ui; }
    TWaveScreen& display() { return display_; }
    const HandDrawing& drawing() const { return drawing_; }
    // The drawing so far; after "Ok" the waveform made.
    const WaveformRecord& result() const { return work_; }

    // ---- handlers ----
    void UndoBtnClick();
    void UndoToolBtnClick();
    // Ctrl+Z and Ctrl+Y.
    void undoStep();
    void redoStep();
    void OkBtnClick();

private:
    void chooseTool(HandTool tool);
    void pointerAt(QPoint position);
    void showReadouts();
    // A change of the whole drawing (undo, undo tool, a step): `before` goes into the history
    // when `recorded`.
    void replaced(const HandDrawing::Points& before, bool recorded);

    std::unique_ptr<Ui::THandForm> ui;
    WaveformRecord work_;
    EditorContext context_;
    TWaveScreen display_;
    ZoomButtons zoom_;
    TWaveScreen::EditHandler editHandler_;  // the display's mouse while a tool is on
    HandDrawing drawing_;
    HandUndoHistory history_;
    std::optional<int> pointerIndex_;
    std::optional<int> pointerValue_;
};
