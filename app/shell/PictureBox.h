#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

// A picture drawn by the program: the owner paints into image() and calls update(); the widget
// shows the image and reports the mouse to its owner. The image always has the widget's size
// (the owners read their drawing width and height from it), so it is valid before the widget
// is first shown. Pixels are 32-bit RGB, which the XOR drawing of cursors and traces needs.
class TPictureBox : public QWidget {
    Q_OBJECT

public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The drawing surface, resized (and filled black) when the widget's size has changed.
    QImage& image();

Q_SIGNALS:
    // Positions are in image pixels; `buttons` are those held after the event.
    void mousePressed(QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMoved(QPoint position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseReleased(QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseDoubleClicked(QPoint position, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
