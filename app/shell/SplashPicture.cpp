#include "shell/SplashPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

QImage splashPicture() {
    QImage picture(400, 260, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, picture.height());
    background.setColorAt(0, QColor(16, 44, 84));
    background.setColorAt(1, QColor(6, 16, 34));
    painter.fillRect(picture.rect(), background);

    // A faint screen grid behind a two-tone trace, as on the instrument's outputs.
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int x = 0; x <= picture.width(); x += 40)
        painter.drawLine(x, 0, x, picture.height());
    for (int y = 10; y <= picture.height(); y += 40)
        painter.drawLine(0, y, picture.width(), y);
    QPainterPath sine;
    QPainterPath square;
    for (int x = 0; x <= picture.width(); ++x) {
        const double phase = 2 * std::numbers::pi * x / 200.0;
        const double y = 150 - 48 * std::sin(phase);
        const double step = std::sin(phase + 1.2) >= 0 ? 190 : 226;
        if (x == 0) {
            sine.moveTo(x, y);
            square.moveTo(x, step);
        } else {
            sine.lineTo(x, y);
            square.lineTo(x, step);
        }
    }
    painter.setPen(QPen(QColor(0, 255, 0), 2));
    painter.drawPath(sine);
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.drawPath(square);

    QFont title = painter.font();
    title.setPixelSize(64);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(24, 12, 360, 76), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Q745"));
    QFont subtitle = painter.font();
    subtitle.setPixelSize(15);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.setPen(QColor(200, 220, 255));
    painter.drawText(QRect(28, 84, 360, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Arbitrary waveform generator"));
    painter.drawText(QRect(0, 234, 388, 22), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("KELVO"));
    return picture;
}
