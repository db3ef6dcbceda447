// Every way of ending the program, with the message boxes shown for real: a box runs its own
// event loop, and the program must still end once it has been answered.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QWindow>
#include <csignal>

#include "ModalDriver.h"
#include "ProgramRig.h"
#include "ui_Main.h"

namespace {

const QString ExitQuestion = "Naozaj chcete opustit program ?";

// Answers the next box with a key once it is shown, remembering its text and when the answer
// was given.
struct KeyAnswer {
    void expect(Qt::Key key) {
        whenModalShown([this, key](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
            answered.start();
            QTest::keyClick(modal, key);
        });
    }
    QString text;
    QElapsedTimer answered;
};

// The window manager's close: a close request from outside, as the window's close box sends.
void closeBox() {
    ProgramRig::mainForm()->windowHandle()->close();
}

// Dates the shipped settings back, so that writing them shows; returns that time.
std::filesystem::file_time_type ageSettings(const ProgramRig& rig) {
    const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(rig.start / "Settings.dat", past);
    return past;
}

// Ends a run that the program did not end itself within ten seconds, so that a failing test
// does not hang.
class Watchdog {
public:
    Watchdog() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            ADD_FAILURE() << "the program still runs";
            QApplication::exit(1);
        });
        timer_.start(10000);
    }

private:
    QTimer timer_;
};

}  // namespace

TEST(ProgramExitTest, EveryWayOfClosingAnsweredYesEndsTheProgramAtOnce) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"close box", closeBox},
        {"File, Exit", [] { ProgramRig::mainForm()->controls().Exit1->trigger(); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        ProgramRig rig(ProgramRig::RealBoxes);
        rig.shipFiles();
        const auto written = ageSettings(rig);
        KeyAnswer answer;
        Watchdog watchdog;
        const int result = rig.run([&](Program&) {
            answer.expect(Qt::Key_Return);
            close();
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(answer.text, ExitQuestion);
        ASSERT_TRUE(answer.answered.isValid());
        EXPECT_LT(answer.answered.elapsed(), 1000) << "the shut-down follows the answer";
        EXPECT_EQ(rig.callsNamed("SetEPBOn(0)").size(), 1u) << "the shut-down ran once";
        EXPECT_GT(std::filesystem::last_write_time(rig.start / "Settings.dat"), written);
    }
}

TEST(ProgramExitTest, NoKeepsTheProgramAndTheNextYesEndsIt) {
    ProgramRig rig(ProgramRig::RealBoxes);
    rig.shipFiles();
    KeyAnswer no;
    KeyAnswer yes;
    Watchdog watchdog;
    rig.run([&](Program& program) {
        no.expect(Qt::Key_Escape);
        closeBox();
        EXPECT_EQ(no.text, ExitQuestion);
        QTest::qWait(50);
        EXPECT_TRUE(ProgramRig::mainForm()->isVisible());
        EXPECT_TRUE(program.state().appReady);
        EXPECT_TRUE(rig.callsNamed("SetEPBOn(0)").empty());
        yes.expect(Qt::Key_Return);
        closeBox();
    });
    EXPECT_EQ(yes.text, ExitQuestion);
    EXPECT_EQ(rig.callsNamed("SetEPBOn(0)").size(), 1u);
}

TEST(ProgramExitTest, SessionEndWhileTheExitQuestionIsShownEndsWithoutAnAnswer) {
    ProgramRig rig(ProgramRig::RealBoxes);
    rig.shipFiles();
    const auto written = ageSettings(rig);
    bool questionShown = false;
    Watchdog watchdog;
    const int result = rig.run([&](Program&) {
        whenModalShown([&](QWidget*) {
            questionShown = true;
            std::raise(SIGTERM);
        });
        closeBox();
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(questionShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_GT(std::filesystem::last_write_time(rig.start / "Settings.dat"), written);
    EXPECT_EQ(rig.callsNamed("SetEPBOn(0)").size(), 1u);
}
