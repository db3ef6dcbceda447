#include "shell/SplashScreen.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ModalDriver.h"
#include "shell/MessageBox.h"

// The splash stays above every window: a box of the start-up would lie under it, so the splash
// steps aside while boxes are shown, until the last one closes.
TEST(SplashScreen, StepsAsideWhileBoxesAreShown) {
    TSplashForm splash;
    splash.show();
    bool shownUnderFirst = true;
    bool shownUnderSecond = true;
    bool shownBetween = true;
    whenModalShown([&](QWidget* first) {
        shownUnderFirst = splash.isVisible();
        whenModalShown([&](QWidget* second) {
            shownUnderSecond = splash.isVisible();
            QTest::keyClick(second, Qt::Key_Return);
        });
        messageBox("Subor DWave.dat nie je mozne otvorit.", MessageKind::Error, MessageButtons::Ok);
        shownBetween = splash.isVisible();
        QTest::keyClick(first, Qt::Key_Return);
    });
    messageBox("Subor Waves.dat nie je mozne otvorit.", MessageKind::Error, MessageButtons::Ok);
    EXPECT_FALSE(shownUnderFirst);
    EXPECT_FALSE(shownUnderSecond);
    EXPECT_FALSE(shownBetween) << "the first box is still up";
    EXPECT_TRUE(splash.isVisible()) << "back once the last box closed";
}
