#include "shell/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {
    // Cursor read-outs follow the pointer without a button held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& TPictureBox::image() {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (image_.size() != wanted) {
        QImage resized(wanted, QImage::Format_RGB32);
        resized.fill(Qt::black);
        if (!image_.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, image_);
        }
        image_ = std::move(resized);
    }
    return image_;
}

void TPictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image(), event->rect());
}

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT mousePressed(event->position().toPoint(), event->button(), event->modifiers());
}

void TPictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved(event->position().toPoint(), event->buttons(), event->modifiers());
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT mouseReleased(event->position().toPoint(), event->button(), event->modifiers());
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    Q_EMIT mouseDoubleClicked(event->position().toPoint(), event->button(), event->modifiers());
}
