// The program's start and end as an operator meets them: the real Q745 under a window manager,
// judged by the files it writes and by what the virtual instrument received.
#include <gtest/gtest.h>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

const std::vector<std::string> LockFiles = {"KELVO_Q745_SW", "KELVO_SW_0"};

class ProgramEndToEndTest : public ::testing::Test {
protected:
    ProgramEndToEndTest() {
        // Settings.dat as written long ago, so that a rewrite shows.
        settingsBefore = std::filesystem::file_time_type::clock::now() - 1h;
        std::filesystem::last_write_time(installation.data() / "Settings.dat", settingsBefore);
    }

    void start(e2e::RealProgram::Options options = {}) {
        program = std::make_unique<e2e::RealProgram>(desktop, installation, std::move(options));
    }

    // The exit question, answered with keys; the program must be gone within a second.
    void answerTheExitQuestion(const std::string& keys) {
        const e2e::Window question = desktop.waitForWindow("^Warning$");
        desktop.key(question, keys);
    }

    // What every way of ending the program leaves behind.
    void expectAnOrderlyEnd(bool portUsed = true) {
        EXPECT_GT(installation.modified("Settings.dat"), settingsBefore)
            << "Settings.dat rewritten";
        for (const std::string& lock : LockFiles)
            EXPECT_FALSE(installation.lockHeld(lock)) << lock;
        const e2e::InstrumentLog log = program->instrumentLog();
        EXPECT_FALSE(log.finalState.isEmpty()) << "the process ended by itself";
        if (!portUsed) return;
        ASSERT_FALSE(log.portModes().empty());
        EXPECT_FALSE(log.portModes().back().value("connected").toBool())
            << "SetEPBOn(0): the port handed back";
    }

    e2e::Desktop desktop;
    e2e::Installation installation;
    std::filesystem::file_time_type settingsBefore;
    std::unique_ptr<e2e::RealProgram> program;
};

}  // namespace

TEST_F(ProgramEndToEndTest, SessionEndSavesTheFilesAndHandsThePortBack) {
    start();
    desktop.waitForWindow("^Q745$");
    for (const std::string& lock : LockFiles)
        EXPECT_TRUE(installation.lockHeld(lock)) << lock;
    EXPECT_EQ(program->terminate(), 0);
    expectAnOrderlyEnd();
}

TEST_F(ProgramEndToEndTest, CloseBoxAnsweredYesEndsTheProgram) {
    start();
    desktop.closeThroughWindowManager(desktop.waitForWindow("^Q745$"));
    answerTheExitQuestion("Return");
    EXPECT_EQ(program->waitForExit(1000ms), 0);
    expectAnOrderlyEnd();
}

TEST_F(ProgramEndToEndTest, AltF4AnsweredNoKeepsTheProgramAndThenYesEndsIt) {
    start();
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    desktop.key(main, "alt+F4");
    answerTheExitQuestion("Escape");
    ASSERT_TRUE(desktop.waitUntilGone("^Warning$"));
    EXPECT_FALSE(program->endsWithin(500ms));
    EXPECT_EQ(desktop.findWindows("^Q745$").size(), 1u);
    desktop.key(main, "alt+F4");
    answerTheExitQuestion("Return");
    EXPECT_EQ(program->waitForExit(1000ms), 0);
    expectAnOrderlyEnd();
}

TEST_F(ProgramEndToEndTest, FileExitAnsweredYesEndsTheProgram) {
    start();
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    desktop.click(main, 18, 10);  // "File" on the menu bar
    desktop.key("Down Return");   // its first entry, "Exit"
    answerTheExitQuestion("Return");
    EXPECT_EQ(program->waitForExit(1000ms), 0);
    expectAnOrderlyEnd();
}

TEST_F(ProgramEndToEndTest, SessionEndWhileTheExitQuestionIsShown) {
    start();
    desktop.closeThroughWindowManager(desktop.waitForWindow("^Q745$"));
    desktop.waitForWindow("^Warning$");
    EXPECT_EQ(program->terminate(1000ms), 0);
    expectAnOrderlyEnd();
}

// Each box of the start-up comes while the splash is up: it must be the topmost window.
void expectOnTop(const e2e::Desktop& desktop, const e2e::Window& box) {
    const std::vector<e2e::Window> stacking = desktop.stackingOrder();
    ASSERT_FALSE(stacking.empty());
    EXPECT_EQ(stacking.back().id, box.id) << desktop.describeScreen();
}

TEST_F(ProgramEndToEndTest, MissingFilesAreReportedAboveTheSplash) {
    std::filesystem::remove(installation.data() / "Waves.dat");
    std::filesystem::remove(installation.data() / "DWave.dat");
    start();
    for (const char* file : {"Waves.dat", "DWave.dat"}) {
        SCOPED_TRACE(file);
        const e2e::Window box = desktop.waitForWindow("^Error$");
        expectOnTop(desktop, box);
        desktop.screenshot(e2e::Desktop::screenshotPath(std::string("missing-") + file + ".png"));
        desktop.key(box, "Return");
        ASSERT_TRUE(desktop.waitUntilGone(box));
    }
    desktop.waitForWindow("^Q745$");
    EXPECT_EQ(program->terminate(), 0);
    EXPECT_FALSE(installation.fileText("Waves.dat").empty()) << "written at the end";
}

// No instrument answers: the device question and the demo message come above the splash, and
// the main window says "demo" for the whole run.
TEST_F(ProgramEndToEndTest, DemoModeIsToldAboveTheSplashAndStaysInTheTitle) {
    e2e::RealProgram::Options options;
    options.instrument = "none";
    start(options);
    const e2e::Window question = desktop.waitForWindow("^Error$");
    expectOnTop(desktop, question);
    desktop.screenshot(e2e::Desktop::screenshotPath("device-question.png"));
    desktop.key(question, "alt+n");
    ASSERT_TRUE(desktop.waitUntilGone(question));
    const e2e::Window demo = desktop.waitForWindow("^Error$");
    expectOnTop(desktop, demo);
    desktop.key(demo, "Return");
    const e2e::Window main = desktop.waitForWindow("^Q745 - demo$");
    desktop.screenshot(e2e::Desktop::screenshotPath("demo-mode.png"));
    desktop.closeThroughWindowManager(main);
    answerTheExitQuestion("Return");
    EXPECT_EQ(program->waitForExit(1000ms), 0);
    expectAnOrderlyEnd(false);
}

TEST_F(ProgramEndToEndTest, AbortInTheDeviceQuestionEndsTheProgram) {
    e2e::RealProgram::Options options;
    options.instrument = "none";
    start(options);
    const e2e::Window question = desktop.waitForWindow("^Error$");
    desktop.key(question, "Escape");  // the box's escape button, Abort
    ASSERT_TRUE(desktop.waitUntilGone(question));
    desktop.key(desktop.waitForWindow("^Error$"), "Return");  // the demo message
    EXPECT_EQ(program->waitForExit(1000ms), 0);
    EXPECT_TRUE(desktop.findWindows("^Q745").empty()) << "no main window after Abort";
    expectAnOrderlyEnd(false);
}

// The fixed-size main window: the window manager offers no maximise, and a request for it
// leaves the size alone.
TEST_F(ProgramEndToEndTest, MainWindowCannotBeMaximised) {
    start();
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    EXPECT_EQ(desktop.property(main, "_NET_WM_ALLOWED_ACTIONS").find("MAXIMIZE"),
              std::string::npos);
    e2e::runTool(desktop.display(), "wmctrl",
                 {"-i", "-r", QString::number(main.id), "-b", "add,maximized_vert,maximized_horz"},
                 5000ms);
    const e2e::Window after = desktop.waitForWindow("^Q745$");
    EXPECT_EQ(after.width, main.width);
    EXPECT_EQ(after.height, main.height);
    EXPECT_EQ(program->terminate(), 0);
}

// F1 with no help file in the data folder: the operator is told which file is missing, and the
// program goes on.
TEST_F(ProgramEndToEndTest, HelpWithoutAHelpFileSaysSo) {
    EXPECT_FALSE(installation.fileText("ReadmeNTSVK.txt").empty()) << "a new installation's readme";
    start();
    const e2e::Window main = desktop.waitForWindow("^Q745$");
    desktop.key(main, "F1");
    const e2e::Window box = desktop.waitForWindow("^Error$");
    desktop.screenshot(e2e::Desktop::screenshotPath("help-missing.png"));
    desktop.key(box, "Return");
    ASSERT_TRUE(desktop.waitUntilGone(box));
    EXPECT_TRUE(program->running());
    EXPECT_EQ(program->terminate(), 0);
}
