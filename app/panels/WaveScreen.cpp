#include "panels/WaveScreen.h"

#include <QEvent>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "device/VirtualGenerator.h"
#include "panels/WavePhase.h"
#include "shell/PictureBox.h"
#include "waves/WaveformStatistics.h"

namespace {

constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Olive = 0x5F5F00;
constexpr QRgb Orange = 0xFF5A00;
constexpr std::array<QRgb, 4> CursorColors{0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF};
constexpr std::array<QRgb, 2> RangeCursorColors{0xFFFF00, 0x00FF00};

// How near a press must be to pick up a cursor, and the corner and edge areas of the arrows.
constexpr int PickUpDistance = 5;
constexpr int ArrowEdgeWidth = 15;
constexpr int PhaseCornerWidth = 13;
constexpr int PhaseCornerHeight = 30;
constexpr std::array<int, 2> RangeArrowAboveBottom{40, 25};
// The import dialogs cut from the smaller range cursor to two points before the larger, so a
// range cursor may be placed up to two points past the last one to take the whole record.
constexpr int RangeCursorPastEnd = 2;

// The one display whose measurement cursors are drawn.
TWaveScreen* activeDisplay = nullptr;

// Pixels are inverted, so that drawing the same thing again removes it.
void invert(QImage& image, int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    line[x] ^= color & 0xFFFFFF;
}

void invertColumn(QImage& image, int x, int top, int bottom, QRgb color) {
    top = std::max(top, 0);
    bottom = std::min(bottom, image.height() - 1);
    for (int y = top; y <= bottom; ++y)
        invert(image, x, y, color);
}

void invertRow(QImage& image, int y, int left, int right, QRgb color) {
    left = std::max(left, 0);
    right = std::min(right, image.width() - 1);
    for (int x = left; x <= right; ++x)
        invert(image, x, y, color);
}

// An arrow head pointing left (or right) whose tip lies at (tipX, y).
void invertArrow(QImage& image, int tipX, int y, bool pointsLeft, QRgb color) {
    for (int depth = 0; depth < 8; ++depth) {
        const int x = pointsLeft ? tipX + depth : tipX - depth;
        invertColumn(image, x, y - depth / 2, y + depth / 2, color);
    }
}

}  // namespace

TWaveScreen::TWaveScreen(QObject* parent) : QObject(parent) {
    view_.lastIndex = 0;
    setValueRange(view_, zeroMark_);
}

TWaveScreen::~TWaveScreen() {
    if (activeDisplay == this) activeDisplay = nullptr;
    if (master_) std::erase(master_->followers_, this);
    for (TWaveScreen* follower : followers_)
        follower->master_ = nullptr;
}

void TWaveScreen::bind(TPictureBox& picture) {
    picture_ = &picture;
    picture.installEventFilter(this);
    connect(&picture, &TPictureBox::mousePressed, this,
            [this](QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers) {
                mousePress(position, button);
            });
    connect(&picture, &TPictureBox::mouseMoved, this,
            [this](QPoint position, Qt::MouseButtons buttons, Qt::KeyboardModifiers) {
                mouseMove(position, buttons);
            });
    connect(&picture, &TPictureBox::mouseReleased, this,
            [this](QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers) {
                mouseRelease(position, button);
            });
    fitView();
    cursorPixels_ = {view_.lastX / 4, view_.lastX * 3 / 4, view_.lastY / 4, view_.lastY * 3 / 4};
}

// ---------------------------------------------------------------- switches

void TWaveScreen::setPhaseShown(bool on) {
    phaseShown_ = on;
    redraw();
}

void TWaveScreen::setZeroLineShown(bool on) {
    zeroLineShown_ = on;
    redraw();
}

void TWaveScreen::setCursorEnabled(Cursor cursor, bool on) {
    cursorEnabled_[index(cursor)] = on;
    redraw();
}

void TWaveScreen::setAllCursorsEnabled(bool on) {
    cursorEnabled_.fill(on);
    redraw();
}

void TWaveScreen::setRangeCursorsShown(bool on) {
    rangeCursorsShown_ = on;
    redraw();
}

void TWaveScreen::setTraceColor(QRgb color) {
    traceColor_ = color & 0xFFFFFF;
    redraw();
}

void TWaveScreen::setForceEnvelope(bool on) {
    forceEnvelope_ = on;
    redraw();
}

void TWaveScreen::setPointBoundariesShown(bool on) {
    pointBoundariesShown_ = on;
    redraw();
}

void TWaveScreen::setGenerator(TVirtualGenerator* generator, int channel, bool sendOnSet) {
    generator_ = generator;
    channel_ = channel;
    sendOnSet_ = sendOnSet;
}

void TWaveScreen::followMaster(TWaveScreen& master) {
    if (master_) std::erase(master_->followers_, this);
    master_ = &master;
    master.followers_.push_back(this);
}

// ---------------------------------------------------------------- record

void TWaveScreen::setRecord(const WaveformRecord& record) {
    const bool wasWhole = view_.whole() || shown_.isEmpty();
    source_ = &record;
    rebuildShown();
    recordLength();
    if (wasWhole) view_.lastIndex = view_.maxIndex;
    if (onRecordChanged) onRecordChanged();
    if (sendOnSet_ && generator_) generator_->ChangeWave(channel_, record);
    redraw();
}

void TWaveScreen::setStep(int step) {
    step_ = std::max(step, 1);
    rebuildShown();
    redraw();
}

// The display's own copy, as the generator plays the record at the display's step.
void TWaveScreen::rebuildShown() {
    if (source_ == nullptr) return;
    copyRecord(*source_, shown_);
    if (shown_.isEmpty() || step_ < 2) return;
    shown_.points = realView(source_->points, step_);
    computeStatistics(shown_);
    dense_.reset();
}

void TWaveScreen::recordLength() {
    view_.maxIndex = std::max(shown_.pointCount() - 1, view_.minIndex);
    view_.lastIndex = std::min(view_.lastIndex, view_.maxIndex);
    view_.firstIndex = std::min(view_.firstIndex, view_.lastIndex);
    dense_.reset();
}

void TWaveScreen::setZeroMark(int value) {
    zeroMark_ = value;
    setValueRange(view_, value);
    redraw();
}

void TWaveScreen::shownEdited() {
    dense_.reset();
    redraw();
}

void TWaveScreen::restoreToolCopy() {
    restoreCopy(toolCopy_);
}

void TWaveScreen::restoreStrokeCopy() {
    restoreCopy(strokeCopy_);
}

void TWaveScreen::restoreCopy(const std::vector<std::uint8_t>& copy) {
    if (copy.size() == shown_.points.size()) shown_.points = copy;
    shownEdited();
}

void TWaveScreen::releaseCopies() {
    toolCopy_ = {};
    strokeCopy_ = {};
}

// ---------------------------------------------------------------- view

void TWaveScreen::fitView() {
    if (picture_ == nullptr) return;
    const QImage& image = picture_->image();
    resizeView(view_, image.width() - 1, image.height() - 1, view_.maxIndex);
}

void TWaveScreen::zoomFull() {
    if (!zoomAllowed_) return;
    ::zoomFull(view_);
    setValueRange(view_, zeroMark_);
    redraw();
}

void TWaveScreen::zoomOut() {
    if (!zoomAllowed_) return;
    ::zoomOut(view_);
    redraw();
}

void TWaveScreen::toggleZoomIn() {
    if (!zoomAllowed_) return;
    zoomMode_ = zoomMode_ == ZoomMode::ZoomIn ? ZoomMode::None : ZoomMode::ZoomIn;
}

void TWaveScreen::toggleZoomMax() {
    if (!zoomAllowed_) return;
    zoomMode_ = zoomMode_ == ZoomMode::ZoomMax ? ZoomMode::None : ZoomMode::ZoomMax;
}

void TWaveScreen::toggleOverZoom() {
    if (!zoomAllowed_) return;
    zoomMode_ = zoomMode_ == ZoomMode::OverZoom ? ZoomMode::None : ZoomMode::OverZoom;
}

void TWaveScreen::endZoom() {
    zoomMode_ = ZoomMode::None;
    dense_.reset();
    redraw();
    if (onZoomEnded) onZoomEnded();
}

// ---------------------------------------------------------------- cursors

void TWaveScreen::setCursorPixel(Cursor cursor, int pixel) {
    cursorPixels_[index(cursor)] =
        std::clamp(pixel, 0, vertical(cursor) ? view_.lastX : view_.lastY);
    redraw();
}

int TWaveScreen::cursorPoint(Cursor cursor) const {
    const int pixel = cursorPixel(cursor);
    if (vertical(cursor)) return view_.xToIndex(pixel);
    return view_.yToValue(pixel);
}

CursorPositions TWaveScreen::cursors() const {
    return {cursorPoint(Cursor::V1), cursorPoint(Cursor::V2), cursorPoint(Cursor::H1),
            cursorPoint(Cursor::H2), zeroMark_};
}

int TWaveScreen::rangeCursor(int number) const {
    return rangeCursors_[number == 2 ? 1 : 0];
}

void TWaveScreen::setRangeCursor(int number, int pointIndex) {
    rangeCursors_[number == 2 ? 1 : 0] =
        std::clamp(pointIndex, view_.minIndex, view_.maxIndex + RangeCursorPastEnd);
    redraw();
}

TWaveScreen::Side TWaveScreen::rangeCursorSide(int number) const {
    const int point = rangeCursor(number);
    if (point < view_.firstIndex) return Side::Left;
    // Past the record's end it stands on the last column while the view shows the end.
    if (point > view_.lastIndex && view_.lastIndex < view_.maxIndex) return Side::Right;
    return Side::OnScreen;
}

int TWaveScreen::rangeCursorX(int number) const {
    return std::min(view_.indexToX(rangeCursor(number)), view_.lastX);
}

int TWaveScreen::rangeArrowRow(int number) const {
    return view_.lastY - RangeArrowAboveBottom[number == 2 ? 1 : 0];
}

std::optional<TWaveScreen::Cursor> TWaveScreen::cursorNear(QPoint position) const {
    if (!cursorsVisible()) return std::nullopt;
    for (Cursor cursor : {Cursor::V1, Cursor::V2, Cursor::H1, Cursor::H2}) {
        if (!cursorEnabled_[index(cursor)]) continue;
        const int distance = vertical(cursor) ? position.x() - cursorPixel(cursor)
                                              : position.y() - cursorPixel(cursor);
        if (std::abs(distance) <= PickUpDistance) return cursor;
    }
    return std::nullopt;
}

bool TWaveScreen::isActive() const {
    return activeDisplay == this;
}

void TWaveScreen::activate() {
    if (activeDisplay == this) return;
    if (activeDisplay != nullptr) activeDisplay->deactivate();
    activeDisplay = this;
    redraw();
    if (onActivated) onActivated(true);
}

void TWaveScreen::deactivate() {
    if (activeDisplay != this) return;
    activeDisplay = nullptr;
    redraw();
    if (onActivated) onActivated(false);
}

void TWaveScreen::showCursors() {
    cursorsShownByOwner_ = true;
    redraw();
}

void TWaveScreen::hideCursors() {
    cursorsShownByOwner_ = false;
    redraw();
}

void TWaveScreen::pointerLeft() {
    deactivate();
}

// ---------------------------------------------------------------- phase

int TWaveScreen::phaseQuantum() const {
    if (generator_ == nullptr) return step_;
    return std::max(generator_->sampleStep(), 1) * std::max(generator_->multiplier(), 1);
}

void TWaveScreen::setPhase(int points) {
    const bool taken = points != phase_;
    int phase = taken ? points : savedPhase_;
    phase = roundPhase(phase, phaseQuantum());
    phase = wrapPhase(phase, view_.minIndex, view_.maxIndex);
    phase_ = phase;
    if (taken) savedPhase_ = phase;
}

void TWaveScreen::stepPhase(int n) {
    setPhase(phase_ + phaseQuantum() * n);
}

void TWaveScreen::stepPhaseFromArrow(int direction) {
    stepPhase(direction);
    redraw();
    if (onPhaseChanged) onPhaseChanged();
}

void TWaveScreen::setPhaseGrab(bool on) {
    phaseGrab_ = on;
    redraw();
}

// ---------------------------------------------------------------- WaveDisplayLink

void TWaveScreen::showRecord(const WaveformRecord& record) {
    ::zoomFull(view_);
    setValueRange(view_, zeroMark_);
    setRecord(record);
}

// ---------------------------------------------------------------- mouse

TWaveScreen* TWaveScreen::mouseTarget() {
    if (master_ != nullptr && master_->phaseGrab_) return master_;
    return this;
}

bool TWaveScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::Leave) deactivate();
    return QObject::eventFilter(watched, event);
}

void TWaveScreen::mousePress(QPoint position, Qt::MouseButton button) {
    if (busy_) return;
    if (TWaveScreen* target = mouseTarget(); target != this)
        return target->mousePress(position, button);
    const int x = position.x();
    const int y = position.y();
    pressPosition_ = position;
    if (edit_) {
        if (edit_->press) edit_->press(view_.xToIndex(x), view_.yToValue(y));
        return;
    }
    if (draggable_) {
        if (onDragStarted) onDragStarted();
        return;
    }
    if (button != Qt::LeftButton) return;

    switch (zoomMode_) {
        case ZoomMode::ZoomIn:
            zoomMode_ = ZoomMode::DraggingRange;
            rangeFrom_ = rangeTo_ = std::clamp(x, 0, view_.lastX);
            redraw();
            return;
        case ZoomMode::ZoomMax:
            ::zoomMax(view_, view_.xToIndex(x));
            endZoom();
            return;
        case ZoomMode::OverZoom:
            ::overZoom(view_, view_.xToIndex(x));
            endZoom();
            return;
        default:
            break;
    }

    if (phaseArrowsShown() && view_.lastY - y <= PhaseCornerHeight &&
        (x < PhaseCornerWidth || x > view_.lastX - PhaseCornerWidth)) {
        const int direction = x < PhaseCornerWidth ? 1 : -1;
        phaseRepeat_.start([this, direction] { stepPhaseFromArrow(direction); });
        return;
    }

    if (rangeCursorsShown_) {
        for (int number = 1; number <= 2; ++number) {
            const Side side = rangeCursorSide(number);
            if (side == Side::OnScreen) {
                if (std::abs(x - rangeCursorX(number)) <= PickUpDistance) {
                    draggedRangeCursor_ = number - 1;
                    return;
                }
                continue;
            }
            const bool atEdge =
                side == Side::Left ? x <= ArrowEdgeWidth : x >= view_.lastX - ArrowEdgeWidth;
            if (atEdge && std::abs(y - rangeArrowRow(number)) <= PickUpDistance) {
                pressedRangeArrow_ = number - 1;
                return;
            }
        }
    }

    if (const std::optional<Cursor> cursor = cursorNear(position)) {
        draggedCursor_ = cursor;
        return;
    }

    draggingTrace_ = true;
    indexAtPress_ = view_.xToIndex(x);
    valueAtPress_ = view_.yToValue(y);
    phaseAtPress_ = phase_;
}

void TWaveScreen::mouseMove(QPoint position, Qt::MouseButtons buttons) {
    if (busy_) return;
    if (!isActive()) activate();
    if (onMouseOver) onMouseOver();
    if (TWaveScreen* target = mouseTarget(); target != this)
        return target->mouseMove(position, buttons);
    const int x = position.x();
    const int y = position.y();
    const bool held = buttons != Qt::NoButton;
    if (edit_) {
        if (edit_->move) edit_->move(view_.xToIndex(x), view_.yToValue(y), held);
        return;
    }
    if (!held) return;

    if (zoomMode_ == ZoomMode::DraggingRange) {
        rangeTo_ = std::clamp(x, 0, view_.lastX);
        redraw();
    } else if (draggedCursor_) {
        setCursorPixel(*draggedCursor_, vertical(*draggedCursor_) ? x : y);
        if (onCursorMoved) onCursorMoved();
    } else if (draggedRangeCursor_ >= 0) {
        setRangeCursor(draggedRangeCursor_ + 1, view_.xToIndex(x));
        if (onRangeCursorMoved) onRangeCursorMoved(draggedRangeCursor_ + 1);
    } else if (draggingTrace_) {
        if (phaseArrowsShown()) {
            setPhase(phaseAtPress_ + indexAtPress_ - view_.xToIndex(x));
            redraw();
            if (onPhaseChanged) onPhaseChanged();
        } else {
            panView(view_, indexAtPress_, valueAtPress_, x, y);
            redraw();
        }
    }
}

void TWaveScreen::mouseRelease(QPoint position, Qt::MouseButton button) {
    if (busy_) return;
    if (TWaveScreen* target = mouseTarget(); target != this)
        return target->mouseRelease(position, button);
    phaseRepeat_.stop();
    if (edit_) {
        if (edit_->release)
            edit_->release(view_.xToIndex(position.x()), view_.yToValue(position.y()));
        return;
    }
    if (zoomMode_ == ZoomMode::DraggingRange) {
        rangeTo_ = std::clamp(position.x(), 0, view_.lastX);
        ::zoomToRange(view_, view_.xToIndex(rangeFrom_), view_.xToIndex(rangeTo_));
        endZoom();
    }
    if (pressedRangeArrow_ >= 0) {
        const QPoint moved = position - pressPosition_;
        if (std::abs(moved.x()) <= PickUpDistance && std::abs(moved.y()) <= PickUpDistance) {
            centreView(view_, rangeCursor(pressedRangeArrow_ + 1));
            dense_.reset();
            redraw();
        }
    }
    draggedCursor_.reset();
    draggedRangeCursor_ = -1;
    pressedRangeArrow_ = -1;
    draggingTrace_ = false;
}

// ---------------------------------------------------------------- drawing

void TWaveScreen::redraw() {
    if (picture_ == nullptr) return;
    fitView();
    QImage& image = picture_->image();
    image.fill(Black);
    drawTrace(image);
    if (zeroLineShown_) invertRow(image, view_.valueToY(zeroMark_), 0, view_.lastX, Olive);
    drawLabels(image);
    if (rangeCursorsShown_) drawRangeCursors(image);
    if (zoomMode_ == ZoomMode::DraggingRange) {
        for (int x = std::min(rangeFrom_, rangeTo_); x <= std::max(rangeFrom_, rangeTo_); ++x)
            invertColumn(image, x, 0, view_.lastY, White);
    }
    if (phaseArrowsShown()) drawPhaseArrows(image);
    if (cursorsVisible()) drawMeasurementCursors(image);
    picture_->update();
}

void TWaveScreen::drawTrace(QImage& image) {
    if (shown_.isEmpty()) return;
    if (!dense_ || denseSpan_ != view_.xSpan()) {
        dense_ = isDense(shown_.points, view_.xSpan(), view_.lastX);
        denseSpan_ = view_.xSpan();
    }
    const TraceStyle style = forceEnvelope_ || *dense_ ? TraceStyle::Envelope : TraceStyle::Line;
    const std::vector<TraceColumn> columns = traceColumns(shown_.points, view_, phase_, style);
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const TraceColumn& column = columns[x];
        const QRgb color = pointBoundariesShown_ && column.pointStarts && view_.overZoomed()
                               ? Orange
                               : traceColor_;
        invertColumn(image, static_cast<int>(x), column.top, column.bottom, color);
    }
}

void TWaveScreen::drawLabels(QImage& image) {
    const bool phaseLabel = phaseShown_ && generator_ != nullptr;
    const std::string zoom = zoomLabel(view_);
    if (!phaseLabel && zoom.empty()) return;
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(White));
    const QRect area(2, 1, view_.lastX - 3, view_.lastY - 1);
    if (phaseLabel)
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(::phaseLabel(phase_, generator_->frequency(),
                                                             generator_->multiplier())));
    if (zoom.empty()) return;
    painter.drawText(area, Qt::AlignRight | Qt::AlignTop, QString::fromStdString(zoom));
    // Clear of the phase arrows in the bottom corners.
    const QRect indices = area.adjusted(PhaseCornerWidth + 2, 0, -PhaseCornerWidth - 2, 0);
    painter.drawText(indices, Qt::AlignLeft | Qt::AlignBottom, QString::number(view_.firstIndex));
    painter.drawText(indices, Qt::AlignRight | Qt::AlignBottom, QString::number(view_.lastIndex));
}

void TWaveScreen::drawRangeCursors(QImage& image) {
    for (int number = 1; number <= 2; ++number) {
        const QRgb color = RangeCursorColors[static_cast<std::size_t>(number - 1)];
        switch (rangeCursorSide(number)) {
            case Side::OnScreen:
                invertColumn(image, rangeCursorX(number), 0, view_.lastY, color);
                break;
            case Side::Left:
                invertArrow(image, 1, rangeArrowRow(number), true, color);
                break;
            case Side::Right:
                invertArrow(image, view_.lastX - 1, rangeArrowRow(number), false, color);
                break;
        }
    }
}

void TWaveScreen::drawPhaseArrows(QImage& image) {
    const int row = view_.lastY - PhaseCornerHeight / 2;
    invertArrow(image, 2, row, true, White);
    invertArrow(image, view_.lastX - 2, row, false, White);
}

void TWaveScreen::drawMeasurementCursors(QImage& image) {
    for (Cursor cursor : {Cursor::V1, Cursor::V2, Cursor::H1, Cursor::H2}) {
        if (!cursorEnabled_[index(cursor)]) continue;
        const QRgb color = CursorColors[index(cursor)];
        if (vertical(cursor))
            invertColumn(image, cursorPixel(cursor), 0, view_.lastY, color);
        else
            invertRow(image, cursorPixel(cursor), 0, view_.lastX, color);
    }
}
