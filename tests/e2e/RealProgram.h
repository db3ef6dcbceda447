#pragma once

// The end-to-end harness: the real program Q745, on a virtual X server with a window manager,
// driven by keys and clicks as an operator drives it, and judged by the files it writes and by
// what the virtual instrument received.
//
//     #include "RealProgram.h"
//
//     TEST(ExitTest, YesEndsTheProgram) {
//         e2e::Desktop desktop;                          // Xvfb + openbox, ended at the end
//         e2e::Installation installation;                // a new installation's data folder
//         e2e::RealProgram program(desktop, installation);
//         const e2e::Window main = desktop.waitForWindow("^Q745");
//         desktop.closeThroughWindowManager(main);       // the window's close box
//         desktop.key(desktop.waitForWindow("^Warning$"), "Return");
//         EXPECT_EQ(program.waitForExit(), 0);
//         EXPECT_FALSE(program.instrumentLog().portModes().back()["connected"].toBool());
//     }
//
// Tests are added with q745_add_e2e_test (tests/CMakeLists.txt). Every waiting step has a
// time limit and throws e2e::Failure with what was on the screen; a failed test keeps its
// folders (their paths are printed). Screenshots go to Desktop::screenshotPath(name).

#include <QJsonObject>
#include <QProcess>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Desktop.h"
#include "Tools.h"

namespace e2e {

// A data folder as a new installation has it (the files the build makes in build/defaults, as
// ./run.sh seeds one), with a folder of its own for the lock files and the local socket
// (XDG_RUNTIME_DIR) and one for the logs. Programs started on it one after the other share it.
class Installation {
public:
    // seeded false: an empty data folder.
    explicit Installation(bool seeded = true);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::filesystem::path& data() const { return data_.path(); }
    const std::filesystem::path& markers() const { return markers_.path(); }
    const std::filesystem::path& logs() const { return logs_.path(); }
    // A file of the data folder: its text, and when it was last written.
    std::string fileText(const std::string& name) const;
    std::filesystem::file_time_type modified(const std::string& name) const;
    // Whether a running program holds a lock file of the markers folder ("KELVO_Q745_SW",
    // "KELVO_SW_0" .. "KELVO_SW_9").
    bool lockHeld(const std::string& name) const;
    // The number of the next program started on it, for the names of its logs.
    int nextRun() const { return runs_++; }

private:
    mutable int runs_ = 0;
    ScratchFolder data_{"q745-e2e-data"};
    ScratchFolder markers_{"q745-e2e-run"};
    ScratchFolder logs_{"q745-e2e-logs"};
};

// The virtual instrument's log of one run (Q745_VIRTUAL_INSTRUMENT_LOG): one JSON object per
// event, and the decoded state that the process writes as its last line when it ends.
struct InstrumentLog {
    std::vector<QJsonObject> events;
    // The "state" of the final line; empty when the process did not end by itself.
    QJsonObject finalState;

    // The events of one kind ("portMode", "write", "dac", "block", ...), in order.
    std::vector<QJsonObject> eventsNamed(const QString& name) const;
    // The port hand-overs: "connected" false is SetEPBOn(0), the port given back.
    std::vector<QJsonObject> portModes() const { return eventsNamed("portMode"); }
    // One instrument's decoded state at the end (as q745ctl device --json shows it).
    QJsonObject instrument(int index = 0) const;
    // The checksum of bytes as the log writes those of block writes and played stretches
    // ("fnv1a", "playedFnv1a"): FNV-1a in eight lower-case hexadecimal digits.
    static std::string checksum(const std::uint8_t* data, std::size_t count);
};

// The main window's form stands 554 pixels high below the menu bar; positions of its controls
// are the form's, so a test adds the height of the menu bar, which the style decides.
constexpr int MainFormHeight = 554;
inline int formTop(const Window& main) {
    return main.height - MainFormHeight;
}

// The first value of a key in the text of a settings file ("Key = value" lines), or empty.
std::string settingValue(const std::string& settingsText, const std::string& key);

// The program Q745 started on a desktop in an installation's data folder, on the virtual
// instrument (`instrument` is Q745_VIRTUAL_INSTRUMENT: "parallel:0", "usb", "none", ...).
// A program still running when the object ends is killed.
class RealProgram {
public:
    struct Options {
        std::vector<std::string> arguments;
        std::string instrument = "parallel:0";
        // Added to the program's environment, or replacing a variable.
        std::map<std::string, std::string> environment;
    };

    RealProgram(const Desktop& desktop, const Installation& installation);
    RealProgram(const Desktop& desktop, const Installation& installation, Options options);
    ~RealProgram();
    RealProgram(const RealProgram&) = delete;
    RealProgram& operator=(const RealProgram&) = delete;

    bool running() const;
    // Waits for the program to end and returns its exit code; a Failure when it still runs
    // after the time (it is left running) or when it crashed.
    int waitForExit(Milliseconds timeout = Milliseconds(10000));
    // True when the program has ended within the time.
    bool endsWithin(Milliseconds timeout);
    // Ends it as the session's end does (SIGTERM) and returns its exit code.
    int terminate(Milliseconds timeout = Milliseconds(10000));

    // Its standard output and error so far.
    std::string output() const;
    // The instrument log of this run (read when asked: complete once the program has ended).
    InstrumentLog instrumentLog() const;
    const std::filesystem::path& instrumentLogPath() const { return instrumentLog_; }

private:
    std::string describe() const;

    const Desktop& desktop_;
    std::filesystem::path instrumentLog_;
    std::filesystem::path outputFile_;
    std::unique_ptr<QProcess> process_;
};

}  // namespace e2e
