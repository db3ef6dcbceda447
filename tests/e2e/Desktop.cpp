#include "Desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QPoint>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

constexpr Milliseconds ServerStart(20000);
constexpr Milliseconds Grace(3000);
constexpr Milliseconds Activation(5000);

std::string hex(unsigned long id) {
    std::ostringstream text;
    text << "0x" << std::hex << id;
    return text.str();
}

// The display number Xvfb writes when it is ready; empty when it ends or the time is over.
std::string readDisplayNumber(int fd, Milliseconds timeout) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (text.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[16];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0) return {};
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text.substr(0, text.find('\n'));
}

// xdotool's synchronous move waits for the pointer to move, and so waits for ever when it
// already stands at the target: the pointer first goes a pixel beside it, without waiting.
QStringList approach(const Window& window, int x, int y) {
    const QString id = QString::number(window.id);
    const int beside = x > 0 ? x - 1 : x + 1;
    QStringList arguments{"mousemove", "--window", id, QString::number(beside), QString::number(y)};
    arguments << "mousemove"
              << "--window" << id << "--sync" << QString::number(x) << QString::number(y);
    return arguments;
}

}  // namespace

Desktop::Desktop(int width, int height) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw Failure("no pipe for the X server's display");
    const int writeEnd = ends[1];
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    try {
        // -noreset: the server would reset each time its last client leaves (between two tool
        // calls, before the window manager is connected) and refuse connections meanwhile.
        server_ = startChild(
            "Xvfb",
            {"-displayfd", QString::number(writeEnd), "-screen", "0",
             QString("%1x%2x24").arg(width).arg(height), "-nolisten", "tcp", "-noreset"},
            environment, home_ / "xvfb.log", [writeEnd] { ::fcntl(writeEnd, F_SETFD, 0); });
    } catch (...) {
        ::close(ends[0]);
        ::close(ends[1]);
        throw;
    }
    ::close(writeEnd);
    const std::string number = readDisplayNumber(ends[0], scaled(ServerStart));
    ::close(ends[0]);
    if (number.empty()) {
        endChild(*server_, Grace);
        throw Failure("the X server did not start: " + fileText(home_ / "xvfb.log"));
    }
    display_ = QString::fromStdString(":" + number);

    // openbox with its shipped configuration, whatever the user running the tests has set up.
    environment.insert("DISPLAY", display_);
    environment.insert("HOME", QString::fromStdString(home_.path().string()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString((home_ / "config").string()));
    environment.insert("XDG_CACHE_HOME", QString::fromStdString((home_ / "cache").string()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString((home_ / "data").string()));
    windowManager_ = startChild("openbox", {"--sm-disable"}, environment, home_ / "openbox.log");
    const bool managing = waitFor(
        [this] {
            return windowManager_->state() == QProcess::Running &&
                   tool("wmctrl", {"-m"}).exitCode == 0;
        },
        ServerStart);
    if (!managing) {
        const std::string log = fileText(home_ / "openbox.log");
        endChild(*windowManager_, Grace);
        endChild(*server_, Grace);
        home_.keep();
        throw Failure("the window manager did not start on " + display_.toStdString() + ": " + log +
                      " (logs in " + home_.path().string() + ")");
    }
    // The manager announces itself before its start-up is over, and a request made meanwhile
    // can be undone by it: one that it has surely handled is a number of desktops it reports.
    setDesktops(1);
    // The first key sent through XTEST switches the server's keyboard to the XTEST device; the
    // window manager reloads its key bindings on the keymap change that comes with it, and a
    // key of a test arriving meanwhile (Alt+F4) would be lost. So a harmless key goes first,
    // and the manager has dealt with it once it has handled a later request.
    tool("xdotool", {"key", "shift"});
    setDesktops(2);
    setDesktops(1);
}

void Desktop::setDesktops(int count) const {
    const std::string reported = "= " + std::to_string(count);
    const auto handled = [&] {
        return tool("xprop", {"-root", "_NET_NUMBER_OF_DESKTOPS"}).output.find(reported) !=
               std::string::npos;
    };
    const bool answered = waitFor(
        [&] {
            tool("wmctrl", {"-n", QString::number(count)});
            return waitFor(handled, Milliseconds(1000));
        },
        ServerStart);
    if (!answered) throw Failure("the window manager does not answer on " + display_.toStdString());
}

Desktop::~Desktop() {
    if (::testing::Test::HasFailure() || std::uncaught_exceptions() > 0) {
        home_.keep();
        std::fprintf(stderr, "the desktop's logs are kept in %s\n", home_.path().c_str());
    }
    if (windowManager_) endChild(*windowManager_, Grace);
    if (server_) endChild(*server_, Grace);
}

ToolResult Desktop::tool(const QString& name, const QStringList& arguments,
                         Milliseconds timeout) const {
    return runTool(display_, name, arguments, timeout);
}

std::optional<Window> Desktop::describe(unsigned long id) const {
    Window window;
    window.id = id;
    const QString target = QString::number(id);
    const ToolResult name = tool("xdotool", {"getwindowname", target});
    const ToolResult geometry = tool("xdotool", {"getwindowgeometry", "--shell", target});
    // The window went away meanwhile.
    if (name.exitCode != 0 || geometry.exitCode != 0) return std::nullopt;
    window.title = name.output;
    if (!window.title.empty() && window.title.back() == '\n') window.title.pop_back();
    std::istringstream lines(geometry.output);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const int value = std::atoi(line.c_str() + equals + 1);
        if (key == "X") window.x = value;
        if (key == "Y") window.y = value;
        if (key == "WIDTH") window.width = value;
        if (key == "HEIGHT") window.height = value;
    }
    return window;
}

std::vector<unsigned long> Desktop::stackingIds() const {
    const std::string text =
        tool("xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"}).output;
    std::vector<unsigned long> ids;
    static const QRegularExpression idPattern("0x[0-9a-fA-F]+");
    auto matches = idPattern.globalMatch(QString::fromStdString(text));
    while (matches.hasNext())
        ids.push_back(matches.next().captured().toULong(nullptr, 16));
    return ids;
}

std::vector<Window> Desktop::stackingOrder() const {
    std::vector<Window> windows;
    for (unsigned long id : stackingIds())
        if (const auto window = describe(id)) windows.push_back(*window);
    return windows;
}

std::vector<Window> Desktop::findWindows(const std::string& titlePattern) const {
    if (titlePattern.empty()) return stackingOrder();
    const ToolResult found = tool(
        "xdotool", {"search", "--onlyvisible", "--name", QString::fromStdString(titlePattern)});
    const std::vector<unsigned long> managed = stackingIds();
    std::vector<Window> windows;
    std::istringstream ids(found.output);
    for (unsigned long id = 0; ids >> id;)
        if (std::find(managed.begin(), managed.end(), id) != managed.end())
            if (const auto window = describe(id)) windows.push_back(*window);
    return windows;
}

Window Desktop::waitForWindow(const std::string& titlePattern, Milliseconds timeout) const {
    std::vector<Window> windows;
    if (waitFor(
            [&] {
                windows = findWindows(titlePattern);
                return !windows.empty();
            },
            timeout))
        return windows.front();
    throw Failure("no window titled /" + titlePattern + "/ within " +
                  std::to_string(scaled(timeout).count()) + " ms; " + describeScreen());
}

bool Desktop::waitUntilGone(const std::string& titlePattern, Milliseconds timeout) const {
    return waitFor([&] { return findWindows(titlePattern).empty(); }, timeout);
}

bool Desktop::waitUntilGone(const Window& window, Milliseconds timeout) const {
    return waitFor(
        [&] {
            const std::vector<unsigned long> shown = stackingIds();
            return std::find(shown.begin(), shown.end(), window.id) == shown.end();
        },
        timeout);
}

std::string Desktop::property(const Window& window, const std::string& name) const {
    return tool("xprop", {"-id", QString::number(window.id), QString::fromStdString(name)}).output;
}

Window Desktop::activeWindow() const {
    const ToolResult active = tool("xdotool", {"getactivewindow"});
    if (active.exitCode != 0) return {};
    return describe(std::stoul(active.output)).value_or(Window{});
}

std::string Desktop::describeScreen() const {
    std::string report = "windows on " + display_.toStdString() + ", bottom to top:";
    for (const Window& window : stackingOrder())
        report += " [" + hex(window.id) + " \"" + window.title + "\"]";
    const Window active = activeWindow();
    report += "; active: " + (active.id ? "\"" + active.title + "\"" : std::string("none"));
    return report;
}

void Desktop::activate(const Window& window) const {
    const QString target = QString::number(window.id);
    const bool active = waitFor(
        [&] {
            if (tool("xdotool", {"getactivewindow"}).output == std::to_string(window.id) + "\n")
                return true;
            tool("xdotool", {"windowactivate", target});
            return false;
        },
        Activation);
    if (!active)
        throw Failure("window \"" + window.title + "\" could not be made active; " +
                      describeScreen());
}

void Desktop::key(const Window& window, const std::string& keys) const {
    activate(window);
    key(keys);
}

void Desktop::key(const std::string& keys) const {
    QStringList arguments{"key", "--clearmodifiers", "--delay", "40"};
    arguments << QString::fromStdString(keys).split(' ', Qt::SkipEmptyParts);
    if (tool("xdotool", arguments).exitCode != 0)
        throw Failure("xdotool could not press \"" + keys + "\"");
}

void Desktop::type(const Window& window, const std::string& text) const {
    activate(window);
    // "--": a text such as "-6" is typed, not read as an option.
    if (tool("xdotool", {"type", "--delay", "40", "--", QString::fromStdString(text)}).exitCode !=
        0)
        throw Failure("xdotool could not type \"" + text + "\"");
}

void Desktop::click(const Window& window, int x, int y, int button) const {
    const ToolResult result =
        tool("xdotool", approach(window, x, y) << "click" << QString::number(button));
    if (result.exitCode != 0)
        throw Failure("xdotool could not click \"" + window.title + "\" at " + std::to_string(x) +
                      "," + std::to_string(y));
}

void Desktop::drag(const Window& window, int fromX, int fromY, int toX, int toY) const {
    const QString id = QString::number(window.id);
    QStringList arguments = approach(window, fromX, fromY) << "mousedown"
                                                           << "1";
    // Steps between, as a hand moves: a widget sees the drag begin before it ends. A step that
    // would not move the pointer is left out (its synchronous move would wait for ever).
    constexpr int Steps = 4;
    QPoint at(fromX, fromY);
    for (int step = 1; step <= Steps; ++step) {
        const QPoint next(fromX + (toX - fromX) * step / Steps,
                          fromY + (toY - fromY) * step / Steps);
        if (next == at) continue;
        at = next;
        arguments << "mousemove"
                  << "--window" << id << "--sync" << QString::number(next.x())
                  << QString::number(next.y());
    }
    arguments << "mouseup"
              << "1";
    if (tool("xdotool", arguments).exitCode != 0)
        throw Failure("xdotool could not drag in \"" + window.title + "\"");
}

void Desktop::dragAndDrop(const Window& window, int fromX, int fromY, int toX, int toY) const {
    const QString id = QString::number(window.id);
    const auto moveTo = [&](int x, int y) {
        return QStringList{"mousemove",        "--window",         id,      "--sync",
                           QString::number(x), QString::number(y), "sleep", "0.15"};
    };
    // Past the drag distance first, then to the target and a little on, so that the target sees
    // the drag enter and move before the drop.
    QStringList arguments = approach(window, fromX, fromY);
    arguments << "sleep"
              << "0.15"
              << "mousedown"
              << "1"
              << "sleep"
              << "0.2";
    for (const int offset : {4, 8, 16, 24})
        arguments << moveTo(fromX + (toX > fromX ? offset : -offset), fromY);
    arguments << moveTo(toX, toY) << moveTo(toX + 2, toY) << "sleep"
              << "0.3"
              << "mouseup"
              << "1"
              << "sleep"
              << "0.2";
    if (tool("xdotool", arguments).exitCode != 0)
        throw Failure("xdotool could not drag and drop in \"" + window.title + "\" from " +
                      std::to_string(fromX) + "," + std::to_string(fromY));
}

void Desktop::pointAt(const Window& window, int x, int y) const {
    if (tool("xdotool", approach(window, x, y)).exitCode != 0)
        throw Failure("xdotool could not move the pointer over \"" + window.title + "\"");
}

void Desktop::closeThroughWindowManager(const Window& window) const {
    if (tool("wmctrl", {"-i", "-c", QString::fromStdString(hex(window.id))}).exitCode != 0)
        throw Failure("the window manager could not be asked to close \"" + window.title + "\"");
}

void Desktop::screenshot(const std::filesystem::path& png) const {
    screenshot(Window{}, png);
}

void Desktop::screenshot(const Window& window, const std::filesystem::path& png) const {
    const std::filesystem::path target = std::filesystem::absolute(png);
    const std::string source = Q745_SOURCE_DIR;
    const std::string build = Q745_BINARY_DIR;
    const std::string shown = target.lexically_normal().string();
    if (shown.rfind(source + "/", 0) == 0 && shown.rfind(build + "/", 0) != 0)
        throw Failure("screenshots stay out of the repository: " + shown);
    std::filesystem::create_directories(target.parent_path());
    // A window just shown paints a moment later.
    std::this_thread::sleep_for(scaled(Milliseconds(300)));
    const QString which = window.id ? QString::number(window.id) : QString("root");
    if (tool("import", {"-window", which, QString::fromStdString(target.string())},
             Milliseconds(30000))
            .exitCode != 0)
        throw Failure("no screenshot written to " + shown);
}

std::filesystem::path Desktop::screenshotPath(const std::string& name) {
    const char* folder = std::getenv("Q745_E2E_SCREENSHOTS");
    const std::filesystem::path base =
        folder && *folder ? std::filesystem::path(folder)
                          : std::filesystem::temp_directory_path() / "q745-e2e-screenshots";
    return base / name;
}

}  // namespace e2e
