#pragma once

#include <QString>
#include <functional>

class QWidget;

// The file dialogs of the digital windows. Tests answer them from a script.
// Asks for a file name in `folder`; empty when cancelled.
using FileNameAsker =
    std::function<QString(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter, bool save)>;

FileNameAsker standardFileNameAsker();
