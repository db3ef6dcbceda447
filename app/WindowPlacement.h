#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// Puts a window of fixed size in the middle of the primary screen.
inline void centerOnScreen(QWidget& window) {
    window.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}
