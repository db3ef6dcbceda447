#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// What a step of the harness throws when it cannot do what it was asked (a window that never
// came, a tool that is missing or hangs). GoogleTest reports the text as the test's failure.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How long the harness waits for anything on a loaded two-core machine, scaled by the
// environment variable Q745_E2E_TIME_SCALE (a factor, default 1) for slower machines.
Milliseconds scaled(Milliseconds time);

// Polls `condition` every 20 ms until it holds or the (scaled) time is over.
bool waitFor(const std::function<bool()>& condition, Milliseconds timeout);

// Starts a child process that is killed when the test process dies, so that a test stopped
// by ctest's timeout leaves no X server, window manager or program behind. Its standard output
// and error go to `outputFile` (nothing unread can fill a pipe and stop it); `beforeExec` runs
// in the child after the fork (async-signal-safe calls only).
std::unique_ptr<QProcess> startChild(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment,
                                     const std::filesystem::path& outputFile,
                                     const std::function<void()>& beforeExec = {});

// Ends a child: SIGTERM, and SIGKILL when it has not ended within `grace`.
void endChild(QProcess& process, Milliseconds grace);

struct ToolResult {
    int exitCode = -1;
    std::string output;  // standard output
};

// Runs an X tool (xdotool, wmctrl, xprop, import) to its end on a display. A tool that is
// missing or does not end within `timeout` is a Failure naming it.
ToolResult runTool(const QString& display, const QString& tool, const QStringList& arguments,
                   Milliseconds timeout);

// A fresh folder under the system's temporary folder, removed with its content at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The folder stays (for a failed test's post-mortem).
    void keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

// The text of a file; empty when it cannot be read.
std::string fileText(const std::filesystem::path& file);

}  // namespace e2e
