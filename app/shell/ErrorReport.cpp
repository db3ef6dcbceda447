#include "shell/ErrorReport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScopedValueRollback>
#include <exception>

#include "shell/ErrorScreen.h"
#include "shell/MakerContact.h"
#include "shell/MessageBox.h"

namespace {

const char* const ApologyLines =
    "Radi by sme sa Vam ospravedlnili za akukolvek neprijemnost sposobenu touto chybou v "
    "programe.\r\n"
    "Program bude pokracovat, ale moze byt nestabilny.\r\n"
    "Odporucame Vam ulozit si data a restartovat program.\r\n"
    "Kontaktujte prosim Kelvo a uvedte\r\n"
    "   - kratky popis situacie, kedy sa chyba vyskytla";

}  // namespace

std::string clipboardText(const ErrorDescription& description) {
    return "Description: \r\n   Error:" + description.error + "\r\n" +
           "   Caused by:" + description.sender + "\r\n" + "   Owner:" + description.owner;
}

std::string fallbackReportText(const ErrorDescription& description) {
    return std::string(ApologyLines) +
           "\r\n   - nasledujuci popis (je ulozeny v schranke - vlozte ho (ctrl-V)):\r\n   Error:" +
           description.error + "\r\n" + "   Caused by:" + description.sender + "\r\n" +
           "   Owned:" + description.owner;
}

std::string bareApologyText() {
    return ApologyLines;
}

std::string senderName(const QObject* sender) {
    if (sender == nullptr) return {};
    QString name = sender->objectName();
    if (name.isEmpty()) name = QString::fromLatin1(sender->metaObject()->className());
    return name.toStdString();
}

std::string ownerName(const QObject* sender) {
    const QObject* owner = nullptr;
    if (sender != nullptr) {
        // A control is owned by the form it sits on, however deep in group boxes; a form
        // itself and objects outside windows by their parent object.
        const auto* widget = qobject_cast<const QWidget*>(sender);
        if (widget != nullptr && !widget->isWindow())
            owner = widget->window();
        else
            owner = sender->parent();
    }
    if (owner == nullptr || owner->objectName().isEmpty()) return "Not owned";
    return owner->objectName().toStdString();
}

void ErrorReport::report(const QObject* sender, const std::string& errorText) {
    if (showing_) return;
    // Cleared however the report ends.
    const QScopedValueRollback showing(showing_, true);

    ErrorDescription description;
    try {
        description = {errorText, senderName(sender), ownerName(sender)};
    } catch (const std::exception&) {
        messageBox(bareApologyText(), MessageKind::Error, MessageButtons::Ok);
        return;
    }

    QWidget* owner = mainWindow_ ? mainWindow_.data() : QApplication::activeWindow();
    try {
        if (present_)
            present_(description, owner);
        else
            showForm(description, owner);
    } catch (...) {
        messageBox(fallbackReportText(description), MessageKind::Error, MessageButtons::Ok);
    }
}

void ErrorReport::showForm(const ErrorDescription& description, QWidget* owner) {
    TErrorForm form(description, owner);
    QObject::connect(&form, &TErrorForm::mailRequested, &form, [this, &description] {
        QUrl url = supportMailUrl(description);
        if (openUrl_)
            openUrl_(url);
        else
            QDesktopServices::openUrl(url);
    });
    form.exec();
}

QUrl ErrorReport::supportMailUrl(const ErrorDescription& description) {
    QUrl url(QStringLiteral("mailto:") + QString::fromLatin1(SupportMailAddress));
    // Encoded by hand: the description may hold "&" or "=", which a query builder keeps raw.
    QByteArray body = QUrl::toPercentEncoding(QString::fromStdString(clipboardText(description)));
    url.setQuery(QStringLiteral("subject=Q745%20error&body=") + QString::fromLatin1(body),
                 QUrl::StrictMode);
    return url;
}
