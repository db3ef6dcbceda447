#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <functional>

#include "digital/DigitalDisplayGeometry.h"
#include "digital/DigitalMacro.h"
#include "shell/DigitalDisplayLink.h"

class QColor;
class QPainter;
class QScrollBar;
class TPictureBox;

// The digital sequence display: a wave drawn as a timing diagram on a picture, one row per
// signal, with a horizontal scroll bar, zoom, a step cursor and a second marker that measures
// time and frequency against it. It owns no wave: its owner (the main window, the digital wave
// editor, the macro editor) shows a wave with setWave and redraws after each change; the
// display reports the operator's selections through its events. Positions come from
// DigitalDisplayGeometry; this class only draws and reads the mouse.
class TDigitalWaveScreen : public QObject, public DigitalDisplayLink {
public:
    // The tick frequency in Hz as set on the instrument; steps are converted to time with it.
    using TickSource = std::function<double()>;

    struct Flags {
        bool editable = false;      // kinds, clock bits and cells change by mouse
        bool showCursor = false;    // cursor, marker and value column shown and draggable
        bool showMacroUse = false;  // names coloured by the running macros
    };

    TDigitalWaveScreen() = default;

    // Reads the picture's size, resets the view, hooks the mouse and the scroll bar (optional)
    // and raises onSelect. Nothing is drawn before the owner has shown a wave and redraws.
    void attach(TPictureBox& image, QScrollBar* scrollBar, TickSource tickSource, Flags flags);
    // Shows a wave, or the same one after a change; redraw follows separately.
    void setWave(TDigitalWave& wave);
    // The queue whose entries colour the names (with showMacroUse).
    void setRunningQueue(const MacroQueue* queue) { queue_ = queue; }

    // DigitalDisplayLink
    void redraw() override;
    void zoomIn() override;
    void zoomOut() override;

    int selectedSignal() const { return selectedSignal_; }
    // Selects a signal without telling the owner (who chose it); -1 for none.
    void selectSignal(int signal) { selectedSignal_ = signal; }
    // The cursor step; the step operations move it.
    std::int32_t& cursor() { return cursor_; }
    std::int32_t cursor() const { return cursor_; }
    std::int32_t marker() const { return marker_; }
    int firstRow() const { return firstRow_; }
    const DigitalDisplayGeometry& geometry() const { return geometry_; }
    // The running entry selected in the editor's list, -1 for none.
    int highlightedEntry() const { return highlightedEntry_; }
    void setHighlightedEntry(int entry) { highlightedEntry_ = entry; }
    // After a step was appended: the view moves one step right (and is then limited).
    void stepAppended();

    std::function<void()> onSelect;
    // The operator clicked the "E" of a sequence signal: the step word at the cursor.
    std::function<void(int signal, std::uint16_t& word)> onCellClick;
    std::function<void()> onCursorMove;

private:
    enum class Drag { None, Cursor, Marker, Pan };

    double frequency() const { return tickSource_ ? tickSource_() : 0; }
    std::int32_t length() const { return wave_ ? wave_->length() : 0; }
    int signalCount() const { return wave_ ? wave_->signalCount : 0; }
    void updateScrollBar();
    void select(int signal);

    void pressed(QPoint position, Qt::MouseButton button);
    void moved(QPoint position);
    void released();
    bool startsDrag(QPoint position, std::int32_t step, bool markerBand) const;
    void scrolled(int position);

    QColor signalColour(int signal) const;
    void drawGrid(QPainter& painter) const;
    void drawNames(QPainter& painter) const;
    void drawTraces(QPainter& painter) const;
    void drawSingleTrace(QPainter& painter, int signal, int row, const QColor& colour) const;
    void drawBusTrace(QPainter& painter, int signal, int row, const QColor& colour) const;
    void drawTimeLabels(QPainter& painter) const;
    void drawValueColumn(QPainter& painter) const;
    void drawKindColumn(QPainter& painter) const;
    // The cursor's x, or where its out-of-view arrow stands; returns the span its labels take.
    std::pair<int, int> drawCursor(QPainter& painter) const;
    void drawMarker(QPainter& painter, std::pair<int, int> cursorLabels) const;
    // Text with its top at y.
    void drawTextAt(QPainter& painter, int x, int top, const std::string& text) const;
    int rowTextTop(QPainter& painter, int row) const;

    QPointer<TPictureBox> image_;
    QPointer<QScrollBar> scrollBar_;
    TickSource tickSource_;
    Flags flags_;
    TDigitalWave* wave_ = nullptr;
    const MacroQueue* queue_ = nullptr;

    DigitalDisplayGeometry geometry_;
    int firstRow_ = 0;
    int selectedSignal_ = -1;
    std::int32_t cursor_ = 0;
    std::int32_t marker_ = 0;
    int highlightedEntry_ = -1;
    bool drawing_ = false;

    Drag drag_ = Drag::None;
    int panStartX_ = 0;
    std::int32_t panStartStep_ = 0;
};
