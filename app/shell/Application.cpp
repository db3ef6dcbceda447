#include "shell/Application.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        errorReport_.report(receiver, error.what());
    } catch (...) {
        errorReport_.report(receiver, "Unknown error");
    }
    // The error has been dealt with; the event counts as handled.
    return true;
}
