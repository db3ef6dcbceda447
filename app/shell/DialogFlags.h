#pragma once

#include <Qt>

// The title bar of the program's fixed-size dialogs: a caption, the system menu and a close box,
// no maximise box.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// The same with a minimise box, for windows that may wait behind others (updates, connection).
inline constexpr Qt::WindowFlags kFixedDialogWithMinimiseFlags =
    kFixedDialogFlags | Qt::WindowMinimizeButtonHint;
