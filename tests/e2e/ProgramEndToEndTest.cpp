// The program's start and end as an operator meets them: the real Q745 under a window manager,
// judged by the files it writes and by what the virtual instrument received.
#include <gtest/gtest.h>

#include "RealProgram.h"

namespace {

using namespace std::chrono_literals;

const std::vector<std::string> LockFiles = {"KELVO_Q745_SW", "KELVO_SW_0"};

// Settings.dat as written long ago, so that a rewrite shows.
void ageSettings(const e2e::Installation& installation) {
    std::filesystem::last_write_time(installation.data() / "Settings.dat",
                                     std::filesystem::file_time_type::clock::now() - 1h);
}

// What every way of ending the program leaves behind.
void expectAnOrderlyEnd(const e2e::Installation& installation, const e2e::RealProgram& program,
                        std::filesystem::file_time_type settingsBefore) {
    EXPECT_GT(installation.modified("Settings.dat"), settingsBefore) << "Settings.dat rewritten";
    for (const std::string& lock : LockFiles)
        EXPECT_FALSE(installation.lockHeld(lock)) << lock;
    const e2e::InstrumentLog log = program.instrumentLog();
    ASSERT_FALSE(log.portModes().empty());
    EXPECT_FALSE(log.portModes().back().value("connected").toBool())
        << "SetEPBOn(0): the port handed back";
    EXPECT_FALSE(log.finalState.isEmpty()) << "the process ended by itself";
}

}  // namespace

TEST(ProgramEndToEndTest, SessionEndSavesTheFilesAndHandsThePortBack) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    ageSettings(installation);
    const auto before = installation.modified("Settings.dat");
    e2e::RealProgram program(desktop, installation);
    desktop.waitForWindow("^Q745$");
    for (const std::string& lock : LockFiles)
        EXPECT_TRUE(installation.lockHeld(lock)) << lock;
    desktop.screenshot(e2e::Desktop::screenshotPath("main-window.png"));
    EXPECT_EQ(program.terminate(), 0);
    expectAnOrderlyEnd(installation, program, before);
}

TEST(ProgramEndToEndTest, CloseBoxAnsweredYesEndsTheProgram) {
    e2e::Desktop desktop;
    e2e::Installation installation;
    ageSettings(installation);
    const auto before = installation.modified("Settings.dat");
    e2e::RealProgram program(desktop, installation);
    desktop.closeThroughWindowManager(desktop.waitForWindow("^Q745$"));
    const e2e::Window question = desktop.waitForWindow("^Warning$");
    desktop.screenshot(e2e::Desktop::screenshotPath("exit-question.png"));
    desktop.key(question, "Return");
    EXPECT_EQ(program.waitForExit(1000ms), 0);
    expectAnOrderlyEnd(installation, program, before);
}
