#include "digital/DigitalWaveScreen.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "shell/PictureBox.h"

using namespace digitaldisplay;

namespace {

const QColor Background(0x00, 0x00, 0x00);
const QColor Grid(0x80, 0x80, 0x80);
const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor White(0xFF, 0xFF, 0xFF);
const QColor Aqua(0x00, 0xFF, 0xFF);
const QColor Lime(0x00, 0xFF, 0x00);
const QColor Red(0xFF, 0x00, 0x00);

// Pixels around the cursor's x within which a press grabs it.
constexpr int kGrabDistance = 5;
// Height of the cursor and marker labels above the picture's bottom.
constexpr int kFooterText = 15;
constexpr int kMarkerLine = 18;

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

TextWidth widthIn(const QFontMetrics& metrics) {
    return [metrics](const std::string& text) { return metrics.horizontalAdvance(qtext(text)); };
}

bool drives(const TDigitalMacro& entry, const TDigitalWave& wave, int signal) {
    for (int e = 0; e < entry.wave.signalCount; ++e)
        if (entry.targetOf(e, wave) == signal) return true;
    return false;
}

}  // namespace

void TDigitalWaveScreen::attach(TPictureBox& image, QScrollBar* scrollBar, TickSource tickSource,
                                Flags flags) {
    image_ = &image;
    scrollBar_ = scrollBar;
    tickSource_ = std::move(tickSource);
    flags_ = flags;
    const QImage& picture = image.image();
    geometry_ = DigitalDisplayGeometry(picture.width(), picture.height());
    firstRow_ = 0;
    selectedSignal_ = -1;
    connect(&image, &TPictureBox::mousePressed, this,
            [this](QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers) {
                pressed(position, button);
            });
    // A quick second click is a press of its own (two clicks on a clock's "+" raise it twice).
    connect(&image, &TPictureBox::mouseDoubleClicked, this,
            [this](QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers) {
                pressed(position, button);
            });
    connect(&image, &TPictureBox::mouseMoved, this,
            [this](QPoint position, Qt::MouseButtons, Qt::KeyboardModifiers) { moved(position); });
    connect(&image, &TPictureBox::mouseReleased, this,
            [this](QPoint, Qt::MouseButton, Qt::KeyboardModifiers) { released(); });
    if (scrollBar_)
        connect(scrollBar_, &QScrollBar::valueChanged, this, &TDigitalWaveScreen::scrolled);
    updateScrollBar();
    if (onSelect) onSelect();
}

void TDigitalWaveScreen::setWave(TDigitalWave& wave) {
    wave_ = &wave;
    const std::int32_t steps = length();
    geometry_.limitFirstStep(steps);
    updateScrollBar();
    // A shorter wave must not leave the cursor or the marker on steps it no longer has.
    if (steps > 0) cursor_ = std::clamp(cursor_, 0, steps - 1);
    marker_ = std::clamp(marker_, 0, std::max(steps - 1, 0));
    if (firstRow_ >= signalCount()) firstRow_ = std::max(0, signalCount() - 1);
    if (!wave.hasSignal(selectedSignal_)) selectedSignal_ = -1;
    if (onSelect) onSelect();
}

void TDigitalWaveScreen::updateScrollBar() {
    if (!scrollBar_) return;
    const QSignalBlocker quiet(scrollBar_.data());
    const std::int32_t maximum = geometry_.scrollMaximum(length());
    scrollBar_->setEnabled(maximum >= 0);
    scrollBar_->setRange(0, std::max(maximum, 0));
    scrollBar_->setValue(geometry_.firstStep);
}

void TDigitalWaveScreen::scrolled(int position) {
    geometry_.firstStep = position;
    redraw();
}

void TDigitalWaveScreen::zoomIn() {
    if (!geometry_.zoomIn(cursor_, length())) return;
    updateScrollBar();
    redraw();
}

void TDigitalWaveScreen::zoomOut() {
    if (!geometry_.zoomOut(length())) return;
    updateScrollBar();
    redraw();
}

void TDigitalWaveScreen::stepAppended() {
    geometry_.firstStep += 1;
    geometry_.limitFirstStep(length());
    updateScrollBar();
}

void TDigitalWaveScreen::select(int signal) {
    selectedSignal_ = signal;
    if (onSelect) onSelect();
    redraw();
}

// ---------------------------------------------------------------- mouse

bool TDigitalWaveScreen::startsDrag(QPoint position, std::int32_t step, bool markerBand) const {
    const int x = position.x();
    const int y = position.y();
    const int plotRight = geometry_.plotRight();
    const int stepX = geometry_.stepX(step);
    if (x >= kPlotLeft && x < plotRight) {
        const std::int32_t pressedStep = geometry_.stepAt(x);
        if (pressedStep == step || pressedStep == step - 1 || std::abs(x - stepX) < kGrabDistance)
            return true;
    }
    const int height = geometry_.height;
    const bool inBand = markerBand ? (y >= height - 22 && y <= height - 14) : y > height - 13;
    if (!inBand) return false;
    if (stepX < kPlotLeft) return x >= 71 && x <= 79;
    if (stepX > plotRight - 1) return x >= plotRight - 10 && x <= plotRight - 2;
    return false;
}

void TDigitalWaveScreen::pressed(QPoint position, Qt::MouseButton button) {
    if (button != Qt::LeftButton || !wave_) return;
    const int x = position.x();
    const int y = position.y();
    const int width = geometry_.width;
    const int height = geometry_.height;
    const int rows = geometry_.visibleRows();

    if (x < kNameColumnRight && (y < kRowPitch || y > height - kRowPitch)) {
        if (y < kRowPitch && firstRow_ > 0) --firstRow_;
        if (y > height - kRowPitch && firstRow_ + rows < signalCount()) ++firstRow_;
        redraw();
        return;
    }
    if (flags_.showCursor && !wave_->empty()) {
        if (startsDrag(position, cursor_, false)) {
            drag_ = Drag::Cursor;
            return;
        }
        if (startsDrag(position, marker_, true)) {
            drag_ = Drag::Marker;
            return;
        }
    }

    const int row = DigitalDisplayGeometry::rowAt(y);
    const int signal = firstRow_ + row;
    if (row >= 0 && row < rows && signal < signalCount()) {
        TSignal& pressedSignal = wave_->signals[static_cast<std::size_t>(signal)];
        if (x < geometry_.plotRight()) {
            select(signal);
        } else if (x < width - kClockButtonsWidth) {
            if (flags_.editable && !pressedSignal.isBus()) {
                pressedSignal.kind = pressedSignal.isClock() ? kSequenceSignal : kClockSignal;
                if (onSelect) onSelect();
                redraw();
            }
        } else if (flags_.editable) {
            if (pressedSignal.isClock()) {
                const bool upperHalf = y < DigitalDisplayGeometry::rowTop(row) + kRowPitch / 2;
                pressedSignal.clockBit =
                    std::clamp(pressedSignal.clockBit + (upperHalf ? 1 : -1), 0, 7);
                redraw();
            } else if (cursor_ >= 0 && cursor_ < length()) {
                if (onCellClick) onCellClick(signal, wave_->word(cursor_));
                redraw();
            }
        }
    } else if (row >= 0 && signal >= signalCount()) {
        if (selectedSignal_ != -1) select(-1);
    }

    if (x > kPlotLeft && x < geometry_.plotRight()) {
        drag_ = Drag::Pan;
        panStartX_ = x;
        panStartStep_ = geometry_.firstStep;
    }
}

void TDigitalWaveScreen::moved(QPoint position) {
    if (drag_ == Drag::None || !wave_) return;
    if (drag_ == Drag::Pan) {
        const std::int32_t before = geometry_.firstStep;
        geometry_.firstStep = panStartStep_ + (panStartX_ - position.x()) / geometry_.pixelsPerStep;
        geometry_.limitFirstStep(length());
        if (geometry_.firstStep == before) return;
        updateScrollBar();
        redraw();
        return;
    }
    if (wave_->empty()) return;
    const std::int32_t step = std::clamp(geometry_.stepAt(position.x()), 0, length() - 1);
    std::int32_t& dragged = drag_ == Drag::Cursor ? cursor_ : marker_;
    if (step == dragged) return;
    dragged = step;
    redraw();
    if (onCursorMove) onCursorMove();
}

void TDigitalWaveScreen::released() {
    if (drag_ == Drag::None) return;
    drag_ = Drag::None;
    redraw();
}

// ---------------------------------------------------------------- drawing

QColor TDigitalWaveScreen::signalColour(int signal) const {
    if (signal == selectedSignal_) return Red;
    if (flags_.showMacroUse && queue_ && wave_) {
        const auto highlighted = static_cast<std::size_t>(highlightedEntry_);
        if (highlightedEntry_ >= 0 && highlighted < queue_->size() &&
            drives((*queue_)[highlighted], *wave_, signal))
            return Lime;
        for (const TDigitalMacro& entry : *queue_) {
            const bool started = entry.position >= 0 || entry.remaining < entry.cycles;
            if (started && drives(entry, *wave_, signal)) return Aqua;
        }
    }
    return White;
}

void TDigitalWaveScreen::drawTextAt(QPainter& painter, int x, int top,
                                    const std::string& text) const {
    painter.drawText(x, top + painter.fontMetrics().ascent(), qtext(text));
}

int TDigitalWaveScreen::rowTextTop(QPainter& painter, int row) const {
    const int sampleHeight =
        painter.fontMetrics().boundingRect(QStringLiteral("TESTOVACI")).height();
    return DigitalDisplayGeometry::rowTop(row) + 1 + 10 - sampleHeight / 2;
}

void TDigitalWaveScreen::drawGrid(QPainter& painter) const {
    const int width = geometry_.width;
    const int height = geometry_.height;
    painter.setPen(Grid);
    painter.drawLine(0, kRowPitch, width, kRowPitch);
    for (int y = 2 * kRowPitch; height - y >= kRowPitch + 1; y += kRowPitch) {
        const bool last = height - (y + kRowPitch) < kRowPitch + 1;
        painter.setPen(Grid);
        painter.drawLine(last ? 0 : 60, y, width, y);
        painter.drawLine(kNameColumnRight, y - kRowPitch, kNameColumnRight, y);
        painter.drawLine(geometry_.plotRight(), y - kRowPitch, geometry_.plotRight(), y);
        painter.setPen(QPen(Yellow, 1, Qt::DotLine));
        painter.drawLine(kValueSeparator, y - kRowPitch, kValueSeparator, y);
    }
    const int rows = geometry_.visibleRows();
    const auto arrow = [&painter](bool active, QPolygon triangle) {
        painter.setPen(active ? Red : Grid);
        painter.setBrush(active ? Red : Grid);
        painter.drawPolygon(triangle);
        painter.setBrush(Qt::NoBrush);
    };
    arrow(firstRow_ > 0, QPolygon({QPoint(25, 15), QPoint(35, 5), QPoint(45, 15)}));
    arrow(firstRow_ + rows < signalCount(),
          QPolygon({QPoint(25, height - 15), QPoint(35, height - 5), QPoint(45, height - 15)}));
}

void TDigitalWaveScreen::drawNames(QPainter& painter) const {
    const TextWidth width = widthIn(painter.fontMetrics());
    const int rows = geometry_.visibleRows();
    for (int row = 0; row < rows && firstRow_ + row < signalCount(); ++row) {
        const int signal = firstRow_ + row;
        painter.setPen(signalColour(signal));
        drawTextAt(
            painter, kNameTextLeft, rowTextTop(painter, row),
            fittedName(wave_->signals[static_cast<std::size_t>(signal)], kNameTextWidth, width));
    }
}

void TDigitalWaveScreen::drawSingleTrace(QPainter& painter, int signal, int row,
                                         const QColor& colour) const {
    const TSignal& shown = wave_->signals[static_cast<std::size_t>(signal)];
    const std::int32_t first = geometry_.firstStep;
    const std::int32_t last = geometry_.lastDrawnStep(length());
    const int plotRight = geometry_.plotRight();
    const auto level = [&](std::int32_t step) {
        return getSignalValue(shown, wave_->word(step)) != 0
                   ? DigitalDisplayGeometry::highLevel(row)
                   : DigitalDisplayGeometry::lowLevel(row);
    };
    for (std::int32_t step = first; step <= last; ++step) {
        const int y = level(step);
        const int x = geometry_.stepX(step);
        const int nextX = geometry_.stepX(step + 1);
        painter.setPen(step == cursor_ ? Yellow : colour);
        painter.drawLine(x, y, std::min(nextX - 1, plotRight), y);
        if (step + 1 <= last) {
            painter.setPen(colour);
            painter.drawLine(nextX, y, nextX, level(step + 1));
        }
    }
}

void TDigitalWaveScreen::drawBusTrace(QPainter& painter, int signal, int row,
                                      const QColor& colour) const {
    const std::int32_t first = geometry_.firstStep;
    const std::int32_t last = geometry_.lastDrawnStep(length());
    const int plotRight = geometry_.plotRight();
    const int low = DigitalDisplayGeometry::lowLevel(row);
    const int high = DigitalDisplayGeometry::highLevel(row);
    for (std::int32_t step = first; step <= last; ++step) {
        const int x = geometry_.stepX(step);
        const int right = std::min(geometry_.stepX(step + 1), plotRight);
        painter.setPen(step == cursor_ ? Yellow : colour);
        painter.drawLine(x, high, right, high);
        painter.drawLine(x, low, right, low);
    }
    painter.setPen(colour);
    for (const BusRun& run : busRuns(geometry_, *wave_, signal, widthIn(painter.fontMetrics()))) {
        const int x = geometry_.stepX(run.first);
        painter.drawLine(x - 1, low - 1, x + 1, high);
        painter.drawLine(x + 1, low - 1, x - 1, high);
        if (run.labelFits) drawTextAt(painter, x + 3, high + 2, run.text);
    }
}

void TDigitalWaveScreen::drawTraces(QPainter& painter) const {
    const int rows = geometry_.visibleRows();
    painter.save();
    painter.setClipRect(kPlotLeft, kRowPitch, geometry_.plotRight() - kPlotLeft + 1,
                        geometry_.height - kRowPitch);
    for (int row = 0; row < rows && firstRow_ + row < signalCount(); ++row) {
        const int signal = firstRow_ + row;
        const QColor colour = signalColour(signal);
        if (wave_->signals[static_cast<std::size_t>(signal)].isBus())
            drawBusTrace(painter, signal, row, colour);
        else
            drawSingleTrace(painter, signal, row, colour);
    }
    painter.restore();
}

void TDigitalWaveScreen::drawTimeLabels(QPainter& painter) const {
    if (!wave_->hasSignal(selectedSignal_)) return;
    const TimeLabels labels = placeTimeLabels(geometry_, *wave_, selectedSignal_, frequency(),
                                              widthIn(painter.fontMetrics()));
    const QColor colour = signalColour(selectedSignal_);
    painter.setPen(colour);
    const int top = std::max(0, 14 - painter.fontMetrics().height());
    for (const TimeLabel& label : labels.times) {
        drawTextAt(painter, label.left, top, label.text);
        painter.drawLine(label.x, 15, label.x, 19);
    }
    for (const DurationLabel& duration : labels.durations) {
        const int middle = 8;
        painter.setBrush(colour);
        painter.drawPolygon(QPolygon({QPoint(duration.left, middle - 3),
                                      QPoint(duration.left + kDurationTriangle, middle),
                                      QPoint(duration.left, middle + 3)}));
        painter.setBrush(Qt::NoBrush);
        drawTextAt(painter, duration.textLeft, top, duration.text);
    }
}

void TDigitalWaveScreen::drawValueColumn(QPainter& painter) const {
    if (!flags_.showCursor || wave_->empty() || cursor_ < 0 || cursor_ >= length()) return;
    const std::uint16_t word = wave_->word(cursor_);
    const int rows = geometry_.visibleRows();
    const QFontMetrics metrics = painter.fontMetrics();
    for (int row = 0; row < rows && firstRow_ + row < signalCount(); ++row) {
        const int signal = firstRow_ + row;
        const TSignal& shown = wave_->signals[static_cast<std::size_t>(signal)];
        const std::string text = cursorValueText(shown, word);
        painter.setPen(signalColour(signal));
        drawTextAt(painter, kValueCentre - metrics.horizontalAdvance(qtext(text)) / 2,
                   rowTextTop(painter, row), text);
        if (!shown.isBus()) {
            const int y = getSignalValue(shown, word) != 0 ? DigitalDisplayGeometry::highLevel(row)
                                                           : DigitalDisplayGeometry::lowLevel(row);
            painter.drawLine(74, y, 101, y);
        }
    }
}

void TDigitalWaveScreen::drawKindColumn(QPainter& painter) const {
    const int rows = geometry_.visibleRows();
    const int width = geometry_.width;
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(Yellow);
    for (int row = 0; row < rows && firstRow_ + row < signalCount(); ++row) {
        const TSignal& shown = wave_->signals[static_cast<std::size_t>(firstRow_ + row)];
        const int top = DigitalDisplayGeometry::rowTop(row);
        const int textTop = rowTextTop(painter, row);
        if (shown.isClock()) {
            drawTextAt(painter, geometry_.plotRight() + 4, textTop, kindText(shown));
            painter.drawLine(width - 9, top + 6, width - 2, top + 6);
            painter.drawLine(width - 6, top + 3, width - 6, top + 10);
            painter.drawLine(width - 9, top + 14, width - 2, top + 14);
        } else {
            // "Seq   E": the "E" stands in the last ten pixels, where a press edits the cell.
            drawTextAt(painter, geometry_.plotRight() + 4, textTop, "Seq");
            drawTextAt(painter, width - 2 - metrics.horizontalAdvance(QStringLiteral("E")), textTop,
                       "E");
        }
    }
}

std::pair<int, int> TDigitalWaveScreen::drawCursor(QPainter& painter) const {
    const int height = geometry_.height;
    const int plotRight = geometry_.plotRight();
    const int x = geometry_.stepX(cursor_);
    if (x < kPlotLeft) {
        painter.setPen(Yellow);
        painter.setBrush(Yellow);
        painter.drawPolygon(
            QPolygon({QPoint(70, height - 7), QPoint(80, height - 12), QPoint(80, height - 2)}));
        painter.setBrush(Qt::NoBrush);
        return {70, 80};
    }
    if (x > plotRight - 1) {
        painter.setPen(Yellow);
        painter.setBrush(Yellow);
        painter.drawPolygon(
            QPolygon({QPoint(plotRight - 1, height - 7), QPoint(plotRight - 11, height - 12),
                      QPoint(plotRight - 11, height - 2)}));
        painter.setBrush(Qt::NoBrush);
        return {plotRight - 11, plotRight - 1};
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Yellow);
    painter.drawLine(x, kRowPitch, x, height);
    painter.restore();
    painter.setPen(Yellow);
    const QFontMetrics metrics = painter.fontMetrics();
    const std::string stepText = cursorStepText(cursor_);
    const std::string timeText = stepTimeText(cursor_, frequency());
    const int top = height - kFooterText;
    drawTextAt(painter, x + 5, top, stepText);
    const int timeWidth = metrics.horizontalAdvance(qtext(timeText));
    drawTextAt(painter, x - 5 - timeWidth, top, timeText);
    return {x - 5 - timeWidth, x + 5 + metrics.horizontalAdvance(qtext(stepText))};
}

void TDigitalWaveScreen::drawMarker(QPainter& painter, std::pair<int, int> cursorLabels) const {
    if (marker_ == cursor_) return;
    const int height = geometry_.height;
    const int plotRight = geometry_.plotRight();
    const auto placed = [&](std::int32_t step) {
        const int x = geometry_.stepX(step);
        if (x < kPlotLeft) return 70;
        if (x > plotRight - 1) return plotRight - 1;
        return x;
    };
    const int markerX = placed(marker_);
    const int cursorX = placed(cursor_);
    const int lineY = height - kMarkerLine;
    painter.setPen(Lime);
    const int rawX = geometry_.stepX(marker_);
    if (rawX >= kPlotLeft && rawX <= plotRight - 1)
        painter.drawLine(markerX, lineY, markerX, kRowPitch);
    painter.drawLine(cursorX, lineY, markerX, lineY);
    const bool pointsRight = cursorX == markerX ? markerX <= plotRight / 2 : cursorX > markerX;
    const int tip = pointsRight ? 5 : -5;
    painter.drawLine(markerX, lineY, markerX - tip, lineY - 4);
    painter.drawLine(markerX, lineY, markerX - tip, lineY + 4);
    if (cursorX == markerX) return;
    const std::string text = measurementText(cursor_, marker_, frequency());
    const int width = painter.fontMetrics().horizontalAdvance(qtext(text));
    const int left = measurementLeft(cursorX, markerX, width, cursorLabels.first,
                                     cursorLabels.second, kNameColumnRight, plotRight);
    drawTextAt(painter, left, height - kFooterText, text);
}

void TDigitalWaveScreen::redraw() {
    if (!image_ || drawing_) return;
    const QScopedValueRollback busy(drawing_, true);
    QImage& picture = image_->image();
    QPainter painter(&picture);
    painter.setFont(image_->font());
    painter.fillRect(picture.rect(), Background);
    drawGrid(painter);
    if (wave_) {
        drawNames(painter);
        drawTraces(painter);
        drawTimeLabels(painter);
        drawValueColumn(painter);
        drawKindColumn(painter);
        if (flags_.showCursor && !wave_->empty()) drawMarker(painter, drawCursor(painter));
    }
    painter.end();
    image_->update();
}
