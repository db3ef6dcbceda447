#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "shell/ProgressScreen.h"
#include "shell/ProgressWindow.h"

namespace {

// A progress window on a clock the test moves by hand.
struct ProgressRig {
    std::int64_t now = 50000;
    TProgressForm form;
    ProgressWindow progress{form, [this] { return now; }};
    QWidget owner;
};

}  // namespace

TEST(ProgressWindowTest, ShortWorkNeverShowsTheWindow) {
    ProgressRig rig;
    rig.progress.progressStart(&rig.owner, 1000, true, false, "Loading");
    for (int i = 1; i <= 1000; ++i)
        ASSERT_TRUE(rig.progress.progressStep());
    rig.now += 999;
    rig.progress.progressNext(1000);
    EXPECT_FALSE(rig.form.isVisible());
    rig.progress.progressFinish();
    EXPECT_FALSE(rig.form.isVisible());
}

TEST(ProgressWindowTest, ShortWorkOnTheRealClockShowsNothing) {
    TProgressForm form;
    ProgressWindow progress(form);
    progress.progressStart(nullptr, 200, true, false, "Short");
    for (int i = 0; i < 200; ++i)
        progress.progressStep();
    EXPECT_FALSE(progress.shown());
    EXPECT_FALSE(form.isVisible());
    progress.progressFinish();
}

TEST(ProgressWindowTest, AppearsAfterOneSecondAndDisablesTheOwnerMeanwhile) {
    ProgressRig rig;
    rig.owner.show();
    rig.progress.progressStart(&rig.owner, 100, true, false, "Loading");
    EXPECT_FALSE(rig.owner.isEnabled());
    rig.now += 999;
    rig.progress.progressNext(10);
    EXPECT_FALSE(rig.form.isVisible());
    rig.now += 1;
    rig.progress.progressNext(50);
    EXPECT_TRUE(rig.form.isVisible());
    EXPECT_EQ(rig.form.windowTitle(), "Please wait ... Loading");
    EXPECT_EQ(rig.form.gauge()->value(), 50);
    // 50 of 100 done in one second: one more second to go.
    EXPECT_EQ(rig.form.timeLabel()->text(), "1s");

    rig.progress.progressFinish();
    EXPECT_FALSE(rig.form.isVisible());
    EXPECT_TRUE(rig.owner.isEnabled());
}

TEST(ProgressWindowTest, ShowNowShowsAtOnceWithoutAnEstimate) {
    ProgressRig rig;
    rig.progress.progressStart(&rig.owner, 1000, false, true, "Macro");
    EXPECT_TRUE(rig.form.isVisible());
    EXPECT_EQ(rig.form.timeLabel()->text(), "N/A");
    EXPECT_FALSE(rig.form.breakButton()->isEnabled());
    rig.progress.progressFinish();
}

TEST(ProgressWindowTest, GaugeMovesInHundredthsOfTheWork) {
    ProgressRig rig;
    rig.progress.progressStart(&rig.owner, 1000, true, true, "Steps");
    rig.now += 4000;
    rig.progress.progressNext(9);
    EXPECT_EQ(rig.form.gauge()->value(), 0) << "less than one hundredth moved";
    rig.progress.progressNext(200);
    EXPECT_EQ(rig.form.gauge()->value(), 200);
    // 200 of 1000 in 5001 ms: (1000 / 200 - 1) * 5.001 = 20.004 s left.
    EXPECT_EQ(rig.form.timeLabel()->text(), "20s");
    EXPECT_TRUE(rig.progress.progressStep());
    EXPECT_EQ(rig.form.gauge()->value(), 200);
    rig.progress.progressFinish();
}

TEST(ProgressWindowTest, BreakStopsTheWork) {
    ProgressRig rig;
    rig.progress.progressStart(&rig.owner, 100000, true, false, "Long work");
    // The operator presses "Break" as soon as the window is on screen.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &rig.form, [&rig] {
        if (rig.form.isVisible()) rig.form.breakButton()->click();
    });
    watcher.start(0);
    int done = 0;
    for (; done < 100000; ++done) {
        rig.now += 1;
        if (!rig.progress.progressStep()) break;
    }
    rig.progress.progressFinish();
    EXPECT_LT(done, 100000);
    EXPECT_GE(done, 999) << "the window only appears after a second";
    EXPECT_TRUE(rig.progress.progressBreak());

    // The next operation starts without the old break.
    rig.progress.progressStart(&rig.owner, 10, true, false, "Again");
    EXPECT_FALSE(rig.progress.progressBreak());
    EXPECT_TRUE(rig.progress.progressStep());
    rig.progress.progressFinish();
}

TEST(ProgressWindowTest, CloseBoxBreaksOnlyWhenBreakIsAllowed) {
    ProgressRig rig;
    rig.progress.progressStart(&rig.owner, 10, false, true, "No break");
    rig.form.reject();
    EXPECT_TRUE(rig.progress.progressNext(1));
    rig.progress.progressFinish();

    rig.progress.progressStart(&rig.owner, 10, true, true, "Break");
    rig.form.reject();
    EXPECT_FALSE(rig.progress.progressNext(1));
    rig.progress.progressFinish();
}

TEST(ProgressWindowTest, TheCoresInterfaceUsesTheOwnerGivenBefore) {
    ProgressRig rig;
    ProgressReporter& reporter = rig.progress;
    rig.progress.setOwner(&rig.owner);
    reporter.progressStart(10, true, false, "Core");
    EXPECT_FALSE(rig.owner.isEnabled());
    reporter.progressFinish();
    EXPECT_TRUE(rig.owner.isEnabled());

    // The owner is given for one operation only.
    reporter.progressStart(10, true, false, "Core");
    EXPECT_TRUE(rig.owner.isEnabled());
    reporter.progressFinish();
}

// Over a modal window (a step operation of the digital editor) the progress window must take
// the input itself, or "Break" could not be pressed.
TEST(ProgressWindowTest, OverAModalWindowItIsModalItself) {
    ProgressRig rig;
    QWidget editor;
    editor.setWindowModality(Qt::ApplicationModal);
    editor.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &editor);
    rig.progress.progressStart(&editor, 100, true, true, "");
    EXPECT_TRUE(rig.form.isVisible());
    EXPECT_EQ(rig.form.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), &rig.form);
    rig.progress.progressFinish();
    editor.hide();
    rig.progress.progressStart(&rig.owner, 100, true, true, "");
    EXPECT_EQ(rig.form.windowModality(), Qt::NonModal) << "over the main window it is not";
    rig.progress.progressFinish();
}
