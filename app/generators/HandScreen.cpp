#include "generators/HandScreen.h"

#include <QShortcut>
#include <algorithm>

#include "generators/HandReadouts.h"
#include "shell/DialogFlags.h"
#include "shell/PictureBox.h"
#include "ui_HandScreen.h"

THandForm::THandForm(const WaveformRecord& source, const EditorContext& context, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::THandForm>()),
      work_(source),
      context_(context) {
    ui->setupUi(this);
    setFixedSize(size());

    display_.bind(*ui->WaveImage);
    display_.setAllCursorsEnabled(true);
    display_.showCursors();
    display_.setZeroLineShown(true);
    display_.setPointBoundariesShown(true);
    display_.onCursorMoved = [this] { showReadouts(); };
    zoom_ = {ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn, ui->OverZoomBtn};
    zoom_.bind(display_, [this] { return drawing_.tool() == HandTool::None; });
    display_.setRecord(work_);
    connect(
        ui->WaveImage, &TPictureBox::mouseMoved, this,
        [this](QPoint position, Qt::MouseButtons, Qt::KeyboardModifiers) { pointerAt(position); });

    connect(ui->PenBtn, &QPushButton::clicked, this, [this] { chooseTool(HandTool::Pen); });
    connect(ui->LineBtn, &QPushButton::clicked, this, [this] { chooseTool(HandTool::Line); });
    connect(ui->CurveBtn, &QPushButton::clicked, this, [this] { chooseTool(HandTool::Curve); });
    connect(ui->AllowBackBtn, &QPushButton::toggled, this,
            [this](bool on) { drawing_.setAllowBacktrack(on); });
    connect(ui->UndoBtn, &QPushButton::clicked, this, &THandForm::UndoBtnClick);
    connect(ui->UndoToolBtn, &QPushButton::clicked, this, &THandForm::UndoToolBtnClick);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this), &QShortcut::activated, this,
            &THandForm::undoStep);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this), &QShortcut::activated, this,
            &THandForm::redoStep);
    connect(ui->OkBtn, &QPushButton::clicked, this, &THandForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    editHandler_.press = [this](int index, int value) {
        if (drawing_.pressStartsStroke()) display_.takeStrokeCopy();
        drawing_.press(display_.editableShown().points, display_.strokeCopy(), index, value);
        display_.shownEdited();
    };
    editHandler_.move = [this](int index, int value, bool held) {
        if (!held) return;
        drawing_.move(display_.editableShown().points, display_.strokeCopy(), index, value);
        display_.shownEdited();
    };
    editHandler_.release = [this](int index, int value) {
        HandDrawing::Points& points = display_.editableShown().points;
        if (drawing_.release(points, display_.strokeCopy(), index, value))
            history_.changed(display_.strokeCopy(), points);
        display_.shownEdited();
        showReadouts();
    };
    showReadouts();
}

THandForm::~THandForm() = default;

// ---------------------------------------------------------------- tools

// The same tool again switches it off; the tool copy is taken at every switch.
void THandForm::chooseTool(HandTool tool) {
    const HandTool chosen = drawing_.tool() == tool ? HandTool::None : tool;
    // A curve left with two points keeps them as its line: a change of its own.
    if (drawing_.curveHalfDone()) history_.changed(display_.strokeCopy(), display_.shown().points);
    drawing_.setTool(chosen);
    display_.takeToolCopy();
    ui->PenBtn->setChecked(chosen == HandTool::Pen);
    ui->LineBtn->setChecked(chosen == HandTool::Line);
    ui->CurveBtn->setChecked(chosen == HandTool::Curve);
    if (chosen == HandTool::None) {
        display_.clearEditHandler();
        return;
    }
    // A zoom mode still waiting for its click gives way to the tool.
    display_.cancelZoomMode();
    zoom_.showMode(display_);
    display_.setEditHandler(editHandler_);
}

// ---------------------------------------------------------------- undo

void THandForm::replaced(const HandDrawing::Points& before, bool recorded) {
    drawing_.strokeUndone();
    if (recorded) history_.changed(before, display_.shown().points);
    display_.shownEdited();
    showReadouts();
}

void THandForm::UndoBtnClick() {
    const HandDrawing::Points before = display_.shown().points;
    display_.restoreStrokeCopy();
    replaced(before, true);
}

void THandForm::UndoToolBtnClick() {
    const HandDrawing::Points before = display_.shown().points;
    display_.restoreToolCopy();
    replaced(before, true);
}

void THandForm::undoStep() {
    if (drawing_.drawing()) return;
    // The first half of a curve is the newest change, not yet a step of the history.
    if (drawing_.curveHalfDone()) {
        const HandDrawing::Points before = display_.shown().points;
        display_.restoreStrokeCopy();
        replaced(before, false);
        return;
    }
    HandDrawing::Points& points = display_.editableShown().points;
    if (std::optional<HandDrawing::Points> earlier = history_.undo(points)) {
        points = std::move(*earlier);
        replaced(points, false);
    }
}

void THandForm::redoStep() {
    if (drawing_.drawing() || drawing_.curveHalfDone()) return;
    HandDrawing::Points& points = display_.editableShown().points;
    if (std::optional<HandDrawing::Points> later = history_.redo(points)) {
        points = std::move(*later);
        replaced(points, false);
    }
}

// ---------------------------------------------------------------- read-outs

void THandForm::pointerAt(QPoint position) {
    const WaveView& view = display_.view();
    pointerIndex_ = std::clamp(view.xToIndex(position.x()), view.minIndex, view.maxIndex);
    pointerValue_ = view.yToValue(position.y());
    showReadouts();
}

void THandForm::showReadouts() {
    using Cursor = TWaveScreen::Cursor;
    const HandDrawing::Points& points = display_.shown().points;
    HandCursorInput input;
    input.cursors.x1 = display_.cursorPoint(Cursor::V1);
    input.cursors.x2 = display_.cursorPoint(Cursor::V2);
    input.cursors.y1 = display_.cursorPoint(Cursor::H1);
    input.cursors.y2 = display_.cursorPoint(Cursor::H2);
    input.cursors.frequency = context_.frequency;
    input.cursors.levelMillivolts = context_.levelMillivolts;
    if (!points.empty()) {
        const auto [lowest, highest] = std::minmax_element(points.begin(), points.end());
        input.cursors.peakToPeak = *highest - *lowest;
    }
    input.pointerIndex = pointerIndex_;
    input.pointerValue = pointerValue_;
    const HandReadout readout = handCursorReadout(input);
    const auto show = [](QLabel* label, const std::string& text) {
        label->setText(QString::fromStdString(text));
    };
    show(ui->DeltaXLabel, readout.cursors.deltaX);
    show(ui->DeltaXPixLabel, readout.cursors.deltaXPixels);
    show(ui->DeltaXTimelabel, readout.cursors.deltaXTime);
    if (readout.cursors.deltaXFrequency)
        show(ui->DeltaXFreqLabel, *readout.cursors.deltaXFrequency);
    show(ui->DeltaYVLabel, readout.cursors.deltaYVolts);
    show(ui->DeltaYPerLabel, readout.cursors.deltaYPercent);
    show(ui->PointToRedVLabel, readout.pointToRedV);
    show(ui->PointToRedHLabel, readout.pointToRedH);
    show(ui->PointToBlueHLabel, readout.pointToBlueH);
    show(ui->RedToStartLabel, readout.redToStart);
    show(ui->BlueToStartLabel, readout.blueToStart);
}

// ---------------------------------------------------------------- closing

void THandForm::OkBtnClick() {
    work_.points = display_.shown().points;
    work_.generatorKind = kGeneratorPlain;
    work_.optionsKind = kOptionsNone;
    accept();
}
