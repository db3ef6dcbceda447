#include "shell/RedLabel.h"

#include <QApplication>
#include <QLabel>

void showInRed(QLabel& label, bool red) {
    QPalette palette = label.palette();
    palette.setColor(
        QPalette::WindowText,
        red ? QColor(0xFF, 0x00, 0x00) : QApplication::palette(&label).color(QPalette::WindowText));
    label.setPalette(palette);
}
