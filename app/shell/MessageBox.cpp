#include "shell/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

UserMessages* activeResponder = nullptr;

QString title(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QStringLiteral("Warning");
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Information:
            return QStringLiteral("Information");
        case MessageKind::Confirmation:
            return QStringLiteral("Confirm");
    }
    return {};
}

QMessageBox::Icon icon(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoAbortRetry:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort | QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

MessageResult resultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Abort:
            return MessageResult::Abort;
        case QMessageBox::Retry:
            return MessageResult::Retry;
        default:
            return MessageResult::Closed;
    }
}

MessageResult showDialog(const std::string& text, MessageKind kind, MessageButtons buttons) {
    // The texts carry Windows line ends; a lone "\r" would show as a stray glyph.
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    QMessageBox box(icon(kind), title(kind), shown, standardButtons(buttons),
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // Only a press counts; Qt would otherwise turn the close box into the escape button.
    QAbstractButton* pressed = nullptr;
    QObject::connect(&box, &QMessageBox::buttonClicked, &box,
                     [&pressed](QAbstractButton* button) { pressed = button; });
    box.exec();
    if (pressed == nullptr) return MessageResult::Closed;
    return resultOf(box.standardButton(pressed));
}

}  // namespace

MessageResult messageBox(const std::string& text, MessageKind kind, MessageButtons buttons) {
    if (activeResponder != nullptr) return activeResponder->messageBox(text, kind, buttons);
    return showDialog(text, kind, buttons);
}

ScopedMessageResponder::ScopedMessageResponder(UserMessages& responder)
    : previous_(activeResponder) {
    activeResponder = &responder;
}

ScopedMessageResponder::~ScopedMessageResponder() {
    activeResponder = previous_;
}
