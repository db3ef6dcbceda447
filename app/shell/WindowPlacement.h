#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// Puts a window in the middle of the primary screen at the size it has.
inline void moveToScreenCenter(QWidget& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

// Puts a window of fixed size in the middle of the primary screen.
inline void centerOnScreen(QWidget& window) {
    window.adjustSize();
    moveToScreenCenter(window);
}
