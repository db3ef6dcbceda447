#include "shell/ErrorReport.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <stdexcept>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "shell/Application.h"
#include "shell/ErrorScreen.h"
#include "shell/MessageBox.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "core/UserError.h"

namespace {

ErrorReport& report() {
    return static_cast<TApplication*>(qApp)->errorReport();
}

QString labelText(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

int openErrorForms() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<TErrorForm*>(widget) != nullptr && widget->isVisible()) ++count;
    return count;
}

// A main window with a button inside a group box whose click handler fails.
class MainFormWithFailingButton {
public:
    MainFormWithFailingButton() {
        form.setObjectName("MainForm");
        auto* group = new QGroupBox(&form);
        group->setObjectName("FreqGroup");
        button = new QPushButton("Set", group);
        button->setObjectName("SetFreqBtn");
        (new QVBoxLayout(group))->addWidget(button);
        (new QVBoxLayout(&form))->addWidget(group);
        QObject::connect(button, &QPushButton::clicked, button, [this] {
            ++clicks;
            throw UserError("Frekvencia je mimo rozsah");
        });
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QWidget form;
    QPushButton* button = nullptr;
    int clicks = 0;
};

// An error thrown through the toolkit's event dispatch skips the clean-up of the toolkit's own
// frames (it is built without exception support): a few small allocations stay behind for every
// escaped error. That is the price of the catch-all, so the leak checker ignores what the tests
// of escaped errors allocate.
class ToolkitLeaksIgnored {
public:
#if defined(__SANITIZE_ADDRESS__)
    ToolkitLeaksIgnored() {
        __lsan_disable();
    }
    ~ToolkitLeaksIgnored() {
        __lsan_enable();
    }
#endif
};

struct ShownReport {
    QString title, error, causedBy, owned, ownedCaption, clipboard;
};

}  // namespace

TEST(ErrorReport, ExceptionInClickHandlerShowsReportWithButtonAndOwnerNames) {
    [[maybe_unused]] ToolkitLeaksIgnored leaksOfEscapedErrors;
    MainFormWithFailingButton window;
    ShownReport shown;
    bool secondErrorRaised = false;
    int formsDuringSecondError = -1;
    whenModalShown([&](QWidget* modal) {
        shown.title = modal->windowTitle();
        shown.error = labelText(modal, "Label10");
        shown.causedBy = labelText(modal, "Label11");
        shown.owned = labelText(modal, "Label12");
        shown.ownedCaption = labelText(modal, "Label9");
        shown.clipboard = QGuiApplication::clipboard()->text();
        // A timer failing while the report is open: dropped, no second window.
        QTimer::singleShot(0, modal, [&] {
            secondErrorRaised = true;
            throw std::runtime_error("second error");
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return secondErrorRaised; }));
        QCoreApplication::processEvents();
        formsDuringSecondError = openErrorForms();
        modal->findChild<QPushButton*>("Button1")->click();
    });

    QTest::mouseClick(window.button, Qt::LeftButton);

    EXPECT_EQ(window.clicks, 1);
    EXPECT_FALSE(report().isShowing());
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.error, "Frekvencia je mimo rozsah");
    EXPECT_EQ(shown.causedBy, "SetFreqBtn");
    EXPECT_EQ(shown.owned, "MainForm");
    EXPECT_EQ(shown.ownedCaption, "   Owned:");
    EXPECT_EQ(shown.clipboard,
              "Description: \r\n   Error:Frekvencia je mimo rozsah\r\n   Caused by:SetFreqBtn\r\n"
              "   Owner:MainForm");
    EXPECT_TRUE(secondErrorRaised);
    EXPECT_EQ(formsDuringSecondError, 1);
    EXPECT_EQ(openErrorForms(), 0);

    // The program goes on: the next failure is reported again.
    bool reportedAgain = false;
    whenModalShown([&](QWidget* modal) {
        reportedAgain = qobject_cast<TErrorForm*>(modal) != nullptr;
        modal->close();
    });
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(window.clicks, 2);
    EXPECT_TRUE(reportedAgain);
}

TEST(ErrorReport, MailButtonOpensSupportMailWithTheDescriptionAndCloses) {
    QUrl opened;
    report().setUrlOpener([&](const QUrl& url) { opened = url; });
    whenModalShown([](QWidget* modal) { modal->findChild<QPushButton*>("Button2")->click(); });
    QObject sender;
    sender.setObjectName("PrintBtn");
    report().report(&sender, "A & B = 1");
    report().setUrlOpener([](const QUrl&) { FAIL() << "no mail expected"; });

    EXPECT_EQ(opened.scheme(), "mailto");
    EXPECT_EQ(opened.path(), "support@kelvo.sk");
    EXPECT_TRUE(
        opened.query(QUrl::FullyDecoded).contains("Caused by:PrintBtn\r\n   Owner:Not owned"));
    // "&" and "=" in the description must not split the mail's fields.
    EXPECT_TRUE(opened.query(QUrl::FullyEncoded).contains("A%20%26%20B%20%3D%201"));
    EXPECT_EQ(openErrorForms(), 0);
}

TEST(ErrorReport, FailingWindowFallsBackToPlainMessageWithTheDescription) {
    RecordingMessages operatorScript;
    ScopedMessageResponder responder(operatorScript);
    report().setFormPresenter([](const ErrorDescription&, QWidget*) {
        throw std::runtime_error("cannot create window");
    });
    QWidget form;
    form.setObjectName("MainForm");
    QPushButton button(&form);
    button.setObjectName("OkBtn");
    report().report(&button, "Chyba");
    report().setFormPresenter(nullptr);

    ASSERT_EQ(operatorScript.calls.size(), 1u);
    EXPECT_EQ(operatorScript.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(
        operatorScript.calls[0].text,
        "Radi by sme sa Vam ospravedlnili za akukolvek neprijemnost sposobenu touto chybou "
        "v programe.\r\nProgram bude pokracovat, ale moze byt nestabilny.\r\nOdporucame "
        "Vam ulozit si data a restartovat program.\r\nKontaktujte prosim Kelvo a uvedte\r\n"
        "   - kratky popis situacie, kedy sa chyba vyskytla\r\n   - nasledujuci popis (je "
        "ulozeny v schranke - vlozte ho (ctrl-V)):\r\n   Error:Chyba\r\n   Caused by:OkBtn\r\n"
        "   Owned:MainForm");
    EXPECT_FALSE(report().isShowing());
}

TEST(ErrorReport, OwnerIsTheFormHoldingTheControl) {
    QWidget mainForm;
    mainForm.setObjectName("MainForm");
    QGroupBox group(&mainForm);
    QPushButton nested(&group);
    EXPECT_EQ(ownerName(&nested), "MainForm");
    EXPECT_EQ(ownerName(&group), "MainForm");
    // A window itself, or a control of an unnamed window, has no owner to name.
    EXPECT_EQ(ownerName(&mainForm), "Not owned");
    QWidget unnamed;
    QPushButton inUnnamed(&unnamed);
    EXPECT_EQ(ownerName(&inUnnamed), "Not owned");
    EXPECT_EQ(ownerName(nullptr), "Not owned");
    // Objects outside windows are owned by their parent.
    QObject panel;
    panel.setObjectName("TFreqScreen");
    QTimer timer(&panel);
    EXPECT_EQ(ownerName(&timer), "TFreqScreen");
    // Without a name the class tells at least what failed.
    EXPECT_EQ(senderName(&timer), "QTimer");
    timer.setObjectName("FreqTimer");
    EXPECT_EQ(senderName(&timer), "FreqTimer");
}
