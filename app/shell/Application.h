#pragma once

#include <QApplication>

#include "shell/ErrorReport.h"

// The application object. An error that escapes an event handler is not fatal: it is shown
// in the error report, naming the object that received the event, and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    ErrorReport& errorReport() { return errorReport_; }

private:
    ErrorReport errorReport_;
};
