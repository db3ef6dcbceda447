#include "shell/MessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "shell/DialogMessages.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"

namespace {

// Presses the box's standard button `which` once the box is shown, checking its look first.
void pressWhenShown(QMessageBox::StandardButton which, QString* title, QString* text,
                    QMessageBox::Icon* icon, int* buttonCount) {
    whenModalShown([=](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr);
        *title = box->windowTitle();
        *text = box->text();
        *icon = box->icon();
        *buttonCount = static_cast<int>(box->buttons().size());
        box->button(which)->click();
    });
}

}  // namespace

TEST(MessageBox, ScriptedResponderAnswersAndRecordsEveryCall) {
    RecordingMessages operatorScript;
    operatorScript.answers = {MessageResult::Retry, MessageResult::Yes};
    ScopedMessageResponder responder(operatorScript);

    EXPECT_EQ(messageBox("Otazka ?", MessageKind::Error, MessageButtons::YesNoAbortRetry),
              MessageResult::Retry);
    EXPECT_EQ(messageBox("Info", MessageKind::Information, MessageButtons::Ok), MessageResult::Ok);
    DialogMessages cores;
    EXPECT_TRUE(cores.ask("Prepisat ?"));
    cores.warning("Pozor");

    ASSERT_EQ(operatorScript.calls.size(), 4u);
    EXPECT_EQ(operatorScript.calls[0].buttons, MessageButtons::YesNoAbortRetry);
    EXPECT_EQ(operatorScript.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(operatorScript.calls[2].kind, MessageKind::Confirmation);
    EXPECT_EQ(operatorScript.calls[2].buttons, MessageButtons::YesNo);
    EXPECT_EQ(operatorScript.calls[3].text, "Pozor");
    EXPECT_EQ(operatorScript.calls[3].kind, MessageKind::Warning);
}

TEST(MessageBox, InnermostResponderAnswersAndTheOuterComesBack) {
    RecordingMessages outer;
    ScopedMessageResponder outerScope(outer);
    {
        RecordingMessages inner;
        ScopedMessageResponder innerScope(inner);
        messageBox("inner", MessageKind::Information, MessageButtons::Ok);
        EXPECT_EQ(inner.texts(), std::vector<std::string>{"inner"});
    }
    messageBox("outer", MessageKind::Information, MessageButtons::Ok);
    EXPECT_EQ(outer.texts(), std::vector<std::string>{"outer"});
}

TEST(MessageBox, ConfirmationShowsQuestionWithYesAndNo) {
    QString title, text;
    QMessageBox::Icon icon{};
    int buttons = 0;
    pressWhenShown(QMessageBox::Yes, &title, &text, &icon, &buttons);
    EXPECT_EQ(
        messageBox("Prvy riadok\r\nDruhy riadok", MessageKind::Confirmation, MessageButtons::YesNo),
        MessageResult::Yes);
    EXPECT_EQ(title, "Confirm");
    EXPECT_EQ(text, "Prvy riadok\nDruhy riadok");
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 2);
}

TEST(MessageBox, KindsHaveTheirStandardTitles) {
    struct Case {
        MessageKind kind;
        const char* title;
        QMessageBox::Icon icon;
    };
    for (Case c : {Case{MessageKind::Warning, "Warning", QMessageBox::Warning},
                   Case{MessageKind::Error, "Error", QMessageBox::Critical},
                   Case{MessageKind::Information, "Information", QMessageBox::Information}}) {
        QString title, text;
        QMessageBox::Icon icon{};
        int buttons = 0;
        pressWhenShown(QMessageBox::Ok, &title, &text, &icon, &buttons);
        EXPECT_EQ(messageBox("<b>text</b>", c.kind, MessageButtons::Ok), MessageResult::Ok);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(buttons, 1);
    }
}

TEST(MessageBox, FourButtonQuestionReturnsRetryAndAbort) {
    QString title, text;
    QMessageBox::Icon icon{};
    int buttons = 0;
    pressWhenShown(QMessageBox::Retry, &title, &text, &icon, &buttons);
    EXPECT_EQ(messageBox("?", MessageKind::Error, MessageButtons::YesNoAbortRetry),
              MessageResult::Retry);
    EXPECT_EQ(buttons, 4);
    pressWhenShown(QMessageBox::Abort, &title, &text, &icon, &buttons);
    EXPECT_EQ(messageBox("?", MessageKind::Error, MessageButtons::YesNoAbortRetry),
              MessageResult::Abort);
}

TEST(MessageBox, ClosingTheBoxIsNeitherYesNorNo) {
    whenModalShown([](QWidget* box) { box->close(); });
    EXPECT_EQ(messageBox("Naozaj ?", MessageKind::Confirmation, MessageButtons::YesNo),
              MessageResult::Closed);
}
