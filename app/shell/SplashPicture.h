#pragma once

#include <QImage>

// The program's picture, shown by the splash window at start-up and by the About window: the
// product name over a waveform, drawn at 400 x 260 pixels.
QImage splashPicture();
