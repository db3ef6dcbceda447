#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

class QObject;

// What the operator is told about an error that escaped an event handler.
struct ErrorDescription {
    std::string error;   // the error's message text
    std::string sender;  // name of the object whose event raised it
    std::string owner;   // name of the window holding it, or "Not owned"
};

// "Description: ..." as it is put on the clipboard.
std::string clipboardText(const ErrorDescription& description);
// The plain message shown when the report window itself cannot be shown.
std::string fallbackReportText(const ErrorDescription& description);
// The message shown when even the names of the sender cannot be read.
std::string bareApologyText();
// The object's name for the report: its objectName, or its class name when it has none.
std::string senderName(const QObject* sender);
// The name of the window (or, outside a window, the parent object) that holds the sender;
// "Not owned" when there is none or it has no name.
std::string ownerName(const QObject* sender);

// Shows errors that escaped an event handler in the error window and lets the program go on.
// One report at a time: errors raised while a report is on screen are dropped.
class ErrorReport {
public:
    using UrlOpener = std::function<void(const QUrl&)>;
    // Shows the window modally; may throw, in which case the plain message is shown instead.
    using FormPresenter = std::function<void(const ErrorDescription&, QWidget* owner)>;

    void report(const QObject* sender, const std::string& errorText);
    bool isShowing() const { return showing_; }

    // The window that owns the report; the active window when none is set.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    // How the mail button reaches the mail program; empty: the desktop's mailto: handler.
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }
    // How the window is shown; empty: TErrorForm, modally.
    void setFormPresenter(FormPresenter presenter) { present_ = std::move(presenter); }

    static QUrl supportMailUrl(const ErrorDescription& description);

private:
    void showForm(const ErrorDescription& description, QWidget* owner);

    bool showing_ = false;
    QPointer<QWidget> mainWindow_;
    UrlOpener openUrl_;
    FormPresenter present_;
};
