// Undocking group boxes into their own windows, and giving them back.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include "shell/DockScreen.h"
#include "MainWindowRig.h"

namespace {

class MainFormUndock : public ::testing::Test {
protected:
    MainFormUndock() {
        form.setMode(ModeAnalog);
        form.show();
    }
    // A double-click on the box itself, away from its controls.
    static void doubleClickBox(QGroupBox* box) {
        QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() - 3));
    }

    MainWindowRig rig;
    TMainForm& form = *rig.form;
    Ui::TMainForm& ui = rig.ui();
};

TEST_F(MainFormUndock, DoubleClickMovesTheBoxIntoItsOwnWindow) {
    const QPoint home = ui.GroupBox14->pos();
    doubleClickBox(ui.GroupBox14);
    ASSERT_EQ(form.undockedWindows().size(), 1u);
    TDockForm* window = form.undockedWindows().front();
    EXPECT_EQ(window->windowTitle(), "Q745 - Trigger");
    EXPECT_EQ(ui.GroupBox14->window(), window);
    EXPECT_EQ(window->homePosition(), home);
    EXPECT_EQ(window->index(), 0);
    EXPECT_TRUE(window->isVisible());

    auto* strip = window->findChild<QWidget*>("ControlPanel");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(window->width(), std::max(ui.GroupBox14->width(), strip->width()));
    EXPECT_EQ(window->height(), strip->height() + ui.GroupBox14->height() + 1);
    EXPECT_EQ(ui.GroupBox14->pos(), QPoint(0, strip->height() + 1));
    EXPECT_NE(window->findChild<QLabel*>("MainLabel"), nullptr);
    EXPECT_EQ(window->findChild<QLabel*>("MainLabel")->text(), "Main");
}

TEST_F(MainFormUndock, DoubleClickOnAControlOrAnUndockedBoxDoesNothing) {
    QTest::mouseDClick(ui.Label9, Qt::LeftButton);
    EXPECT_TRUE(form.undockedWindows().empty());
    doubleClickBox(ui.GroupBox17);
    doubleClickBox(ui.GroupBox17);
    EXPECT_EQ(form.undockedWindows().size(), 1u);
}

TEST_F(MainFormUndock, DigitalBoxesAndTheDockSiteStayDocked) {
    form.setMode(ModeDigital);
    doubleClickBox(ui.GroupBox6);
    doubleClickBox(ui.GroupBox12);
    doubleClickBox(ui.GroupBox21);
    QTest::mouseDClick(ui.DockSite1, Qt::LeftButton);
    EXPECT_TRUE(form.undockedWindows().empty());
}

TEST_F(MainFormUndock, ModeChangeGivesEveryBoxBack) {
    const QPoint trigger = ui.GroupBox14->pos();
    const QPoint channel = ui.GroupBox1->pos();
    doubleClickBox(ui.GroupBox14);
    doubleClickBox(ui.GroupBox1);
    ASSERT_EQ(form.undockedWindows().size(), 2u);

    form.setMode(ModeAnalog);
    EXPECT_EQ(form.undockedWindows().size(), 2u) << "the same mode keeps them";

    form.setMode(ModeImport);
    EXPECT_TRUE(form.undockedWindows().empty());
    EXPECT_EQ(ui.GroupBox14->parentWidget(), form.clientArea());
    EXPECT_EQ(ui.GroupBox14->pos(), trigger);
    EXPECT_EQ(ui.GroupBox1->parentWidget(), form.clientArea());
    EXPECT_EQ(ui.GroupBox1->pos(), channel);
    EXPECT_FALSE(ui.GroupBox1->isHidden()) << "channel boxes belong to import mode too";
}

TEST_F(MainFormUndock, ClosingOneWindowRenumbersTheOthers) {
    doubleClickBox(ui.GroupBox14);
    doubleClickBox(ui.GroupBox15);
    doubleClickBox(ui.GroupBox16);
    TDockForm* first = form.undockedWindows()[0];
    first->close();
    ASSERT_EQ(form.undockedWindows().size(), 2u);
    EXPECT_EQ(form.undockedWindows()[0]->box().objectName(), "GroupBox15");
    EXPECT_EQ(form.undockedWindows()[0]->index(), 0);
    EXPECT_EQ(form.undockedWindows()[1]->index(), 1);
    EXPECT_EQ(ui.GroupBox14->parentWidget(), form.clientArea());
}

TEST_F(MainFormUndock, HideAndShowTheMainWindowAndTheLastCloseShowsIt) {
    doubleClickBox(ui.GroupBox16);
    doubleClickBox(ui.GroupBox15);
    TDockForm* window = form.undockedWindows().front();
    window->findChild<QToolButton*>("HideBtn")->click();
    EXPECT_FALSE(form.isVisible());
    window->findChild<QToolButton*>("ShowBtn")->click();
    EXPECT_TRUE(form.isVisible());

    window->findChild<QToolButton*>("HideBtn")->click();
    window->close();
    EXPECT_FALSE(form.isVisible()) << "another window is still open";
    form.undockedWindows().front()->close();
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MainFormUndock, ExitAsksAndNoCancels) {
    doubleClickBox(ui.GroupBox14);
    rig.answers.answers = {MessageResult::No};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.undockedWindows().size(), 1u);
    ASSERT_EQ(rig.answers.calls.size(), 1u);
    EXPECT_EQ(rig.answers.calls[0].text, "Naozaj chcete opustit program ?");
    EXPECT_EQ(rig.answers.calls[0].kind, MessageKind::Warning);
    EXPECT_EQ(rig.answers.calls[0].buttons, MessageButtons::YesNo);

    rig.answers.answers = {MessageResult::Yes};
    ui.Exit1->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.undockedWindows().empty());
    EXPECT_EQ(ui.GroupBox14->parentWidget(), form.clientArea());
}

TEST_F(MainFormUndock, ClosedMessageBoxAlsoExits) {
    rig.answers.answers = {MessageResult::Closed};
    EXPECT_TRUE(form.close());
}

TEST_F(MainFormUndock, EndingTheSessionClosesWithoutAsking) {
    form.closeWithoutConfirmation();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(rig.answers.calls.empty());
}

TEST_F(MainFormUndock, SmallScreenScrollsTheBoxesInAResizableWindow) {
    form.useSmallScreenLayout();
    EXPECT_EQ(form.size(), QSize(640, 480));
    EXPECT_NE(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.clientArea()->size(), QSize(792, 554));
    auto* scroller = qobject_cast<QScrollArea*>(form.centralWidget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->widget(), form.clientArea());
    form.setMode(ModeDigital);
    EXPECT_FALSE(ui.GroupBox6->isHidden());
}

TEST_F(MainFormUndock, AnotherCopyBringsTheWindowBack) {
    form.showMinimized();
    form.activateFromAnotherCopy();
    EXPECT_FALSE(form.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
