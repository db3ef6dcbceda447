#pragma once

#include <QObject>
#include <QPoint>
#include <QRgb>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "panels/AutoRepeat.h"
#include "panels/WaveTrace.h"
#include "panels/WaveView.h"
#include "shell/WaveDisplayLink.h"
#include "waves/WaveformRecord.h"

class TPictureBox;
class TVirtualGenerator;

// One waveform picture: the channel displays and import displays of the main window, the
// gallery's thumbnails and large display, the editors' previews and the hand editor's drawing
// surface. It draws a record into its picture's image (trace and cursors inverted, so that
// drawing them again removes them), zooms and pans, carries measurement cursors and range
// cursors, and shifts channel B's phase against channel A for a linked pair.
//
// An owner binds it to a picture, switches on the features it needs (all are off at first,
// the trace is white), sets the call-backs it wants and feeds it records with setRecord. The
// displayed copy (`shown`) is the display's own; the record given stays the owner's and must
// outlive its use (with a generator and sendOnSet it is also the channel's waveform).
class TWaveScreen final : public QObject, public WaveDisplayLink {
    Q_OBJECT

public:
    enum class Cursor { V1 = 0, V2 = 1, H1 = 2, H2 = 3 };
    enum class ZoomMode { None = 0, ZoomIn = 1, ZoomMax = 2, OverZoom = 3, DraggingRange = 10 };
    // Where a range cursor lies: on screen, left of the view, right of it.
    enum class Side { OnScreen = -1, Left = 0, Right = 1 };

    explicit TWaveScreen(QObject* parent = nullptr);
    ~TWaveScreen() override;
    TWaveScreen(const TWaveScreen&) = delete;
    TWaveScreen& operator=(const TWaveScreen&) = delete;

    // Hooks the picture's mouse and draws into its image; the cursors start at a quarter and
    // three quarters of the width and height.
    void bind(TPictureBox& picture);
    TPictureBox* picture() const { return picture_; }

    // ---- feature switches ----
    // The zoom operations (and modes) work only while allowed.
    void setZoomAllowed(bool on) { zoomAllowed_ = on; }
    // Channel B of a linked pair: the phase label, and while the phase is grabbed the corner
    // arrows and dragging of the trace. Needs a generator.
    void setPhaseShown(bool on);
    // A press starts a drag-and-drop operation (onDragStarted) instead of anything else.
    void setDraggable(bool on) { draggable_ = on; }
    // An olive line at the zero mark.
    void setZeroLineShown(bool on);
    void setCursorEnabled(Cursor cursor, bool on);
    void setAllCursorsEnabled(bool on);
    // The two range cursors of the import dialogs.
    void setRangeCursorsShown(bool on);
    void setTraceColor(QRgb color);
    // The envelope trace even where the record is not dense.
    void setForceEnvelope(bool on);
    // The columns where a new point begins in orange (an over-zoomed hand editor).
    void setPointBoundariesShown(bool on);
    // The channel's generator model: the phase is rounded to what channel B plays and its label
    // timed at the device frequency; with sendOnSet every new record also becomes the
    // channel's waveform.
    void setGenerator(TVirtualGenerator* generator, int channel, bool sendOnSet);
    // Makes this display the follower of `master`: while the phase is grabbed its presses,
    // moves and releases go to the master.
    void followMaster(TWaveScreen& master);

    // ---- call-backs ----
    std::function<void()> onCursorMoved;
    std::function<void(int rangeCursor)> onRangeCursorMoved;  // 1 or 2
    std::function<void()> onZoomEnded;
    std::function<void()> onRecordChanged;
    std::function<void(bool active)> onActivated;
    // The pointer is over the picture.
    std::function<void()> onMouseOver;
    // Draggable: the picture was pressed; the owner starts the drag-and-drop.
    std::function<void()> onDragStarted;
    // The phase changed by dragging or the corner arrows.
    std::function<void()> onPhaseChanged;

    // Edit mode of the hand editor: while set, the mouse goes here with the point index and
    // sample value under the pointer (not limited to the record or 1..255) instead of to the
    // zoom, cursors and dragging.
    struct EditHandler {
        std::function<void(int index, int value)> press;
        std::function<void(int index, int value, bool buttonHeld)> move;
        std::function<void(int index, int value)> release;
    };
    void setEditHandler(EditHandler handler) { edit_ = std::move(handler); }
    void clearEditHandler() { edit_.reset(); }

    // ---- record ----
    void setRecord(const WaveformRecord& record);
    const WaveformRecord* source() const { return source_; }
    const WaveformRecord& shown() const { return shown_; }
    // The hand editor writes into the shown copy and then calls shownEdited.
    WaveformRecord& editableShown() { return shown_; }
    // The shown points were written: the trace is drawn anew.
    void shownEdited();
    // The generator's sample step: from 2 on the record is shown as the generator plays it.
    void setStep(int step);
    int step() const { return step_; }
    void setZeroMark(int value) override;
    int zeroMark() const { return zeroMark_; }

    // The hand editor's undo: the tool copy (taken when a tool is switched) and the stroke copy
    // (taken at each stroke's start) of the shown points.
    void takeToolCopy() { toolCopy_ = shown_.points; }
    void takeStrokeCopy() { strokeCopy_ = shown_.points; }
    void restoreToolCopy();
    void restoreStrokeCopy();
    const std::vector<std::uint8_t>& toolCopy() const { return toolCopy_; }
    const std::vector<std::uint8_t>& strokeCopy() const { return strokeCopy_; }
    void releaseCopies();

    // ---- view ----
    void zoomFull();
    void zoomOut();
    void toggleZoomIn();
    void toggleZoomMax();
    void toggleOverZoom();
    ZoomMode zoomMode() const { return zoomMode_; }
    // A zoom mode still waiting for its click ends unused.
    void cancelZoomMode() { zoomMode_ = ZoomMode::None; }
    const WaveView& view() const { return view_; }
    bool overZoomed() const { return view_.overZoomed(); }

    // ---- cursors ----
    int cursorPixel(Cursor cursor) const { return cursorPixels_[index(cursor)]; }
    void setCursorPixel(Cursor cursor, int pixel);
    // A vertical cursor as a point index, a horizontal one as a sample value.
    int cursorPoint(Cursor cursor) const;
    int rangeCursor(int number) const;
    // Held within the record and up to two points past its end.
    void setRangeCursor(int number, int pointIndex);
    Side rangeCursorSide(int number) const;

    // ---- phase ----
    // Takes the phase in points, rounded to the phase quantum and wrapped into half the record
    // each way; the present phase given again restores the phase last taken (for a quantum
    // that has changed meanwhile).
    void setPhase(int points) override;
    // By n quanta.
    void stepPhase(int n);
    int phase() const override { return phase_; }
    // The points channel B moves per played sample: the generator's sample step times the
    // multiplier; the display's own step without a generator.
    int phaseQuantum() const;

    // Only one display of the application is active; its measurement cursors are drawn.
    void activate();
    void deactivate();
    bool isActive() const;

    // ---- WaveDisplayLink ----
    CursorPositions cursors() const override;
    void showRecord(const WaveformRecord& record) override;
    void redraw() override;
    void setPhaseGrab(bool on) override;
    bool phaseGrabbed() const { return phaseGrab_; }
    void showCursors() override;
    void hideCursors() override;
    void pointerLeft() override;
    void setBusy(bool busy) override { busy_ = busy; }

    // ---- mouse, as the picture reports it (image pixels) ----
    void mousePress(QPoint position, Qt::MouseButton button);
    void mouseMove(QPoint position, Qt::MouseButtons buttons);
    void mouseRelease(QPoint position, Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(Cursor cursor) { return static_cast<std::size_t>(cursor); }
    // V1 and V2 are pixel columns, H1 and H2 rows.
    static bool vertical(Cursor cursor) { return cursor == Cursor::V1 || cursor == Cursor::V2; }
    bool phaseArrowsShown() const { return phaseShown_ && phaseGrab_; }
    bool cursorsVisible() const { return isActive() || cursorsShownByOwner_; }
    // The follower hands the mouse to its master while the phase is grabbed.
    TWaveScreen* mouseTarget();
    void rebuildShown();
    // The shown points become the copy when it is of their length.
    void restoreCopy(const std::vector<std::uint8_t>& copy);
    void recordLength();
    void fitView();
    void endZoom();
    void stepPhaseFromArrow(int direction);
    std::optional<Cursor> cursorNear(QPoint position) const;
    int rangeArrowRow(int number) const;
    // The pixel column of a range cursor on screen.
    int rangeCursorX(int number) const;

    void drawTrace(QImage& image);
    void drawLabels(QImage& image);
    void drawRangeCursors(QImage& image);
    void drawPhaseArrows(QImage& image);
    void drawMeasurementCursors(QImage& image);

    TPictureBox* picture_ = nullptr;
    TVirtualGenerator* generator_ = nullptr;
    int channel_ = 0;
    bool sendOnSet_ = false;
    TWaveScreen* master_ = nullptr;
    std::vector<TWaveScreen*> followers_;

    bool zoomAllowed_ = false;
    bool phaseShown_ = false;
    bool draggable_ = false;
    bool zeroLineShown_ = false;
    std::array<bool, 4> cursorEnabled_{};
    bool rangeCursorsShown_ = false;
    QRgb traceColor_ = 0xFFFFFF;
    bool forceEnvelope_ = false;
    bool pointBoundariesShown_ = false;

    const WaveformRecord* source_ = nullptr;
    WaveformRecord shown_;
    std::vector<std::uint8_t> toolCopy_;
    std::vector<std::uint8_t> strokeCopy_;
    int step_ = 1;
    int zeroMark_ = 128;
    WaveView view_;
    ZoomMode zoomMode_ = ZoomMode::None;
    int rangeFrom_ = 0;  // pixel columns of a range being dragged in zoom-in mode
    int rangeTo_ = 0;

    std::array<int, 4> cursorPixels_{};
    std::array<int, 2> rangeCursors_{};
    int phase_ = 0;
    int savedPhase_ = 0;
    bool phaseGrab_ = false;
    bool cursorsShownByOwner_ = false;
    bool busy_ = false;
    std::optional<EditHandler> edit_;

    // The press being followed.
    std::optional<Cursor> draggedCursor_;
    int draggedRangeCursor_ = -1;  // -1 none, 0 or 1
    int pressedRangeArrow_ = -1;
    bool draggingTrace_ = false;
    QPoint pressPosition_;
    int indexAtPress_ = 0;
    int valueAtPress_ = 0;
    int phaseAtPress_ = 0;
    AutoRepeat phaseRepeat_;

    // The dense test walks the whole record: kept until the record or the zoom changes.
    std::optional<bool> dense_;
    int denseSpan_ = -1;
};
