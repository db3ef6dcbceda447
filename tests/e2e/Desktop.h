#pragma once

#include <QProcess>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Tools.h"

namespace e2e {

// A top-level window as the window manager knows it. Geometry is the client area's, in screen
// pixels (without the window manager's frame).
struct Window {
    unsigned long id = 0;
    std::string title;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A virtual X server (Xvfb, on the first free display, chosen by the server itself so that
// tests running in parallel never share one) with the openbox window manager, and the
// operator's hands on it: keys and clicks through the XTEST extension (xdotool), closing a
// window as its close box does (the window manager's close, wmctrl) and screenshots
// (ImageMagick's import). Both servers end with the object, and die with the test process.
//
// Waiting steps throw Failure with what was on the screen when they give up.
class Desktop {
public:
    explicit Desktop(int width = 1280, int height = 1024);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // ":N", for the DISPLAY of the programs started on it.
    const QString& display() const { return display_; }

    // The first shown window whose title matches the regular expression (extended, as xdotool
    // reads it: "^Q745$"), once it is shown and managed.
    Window waitForWindow(const std::string& titlePattern,
                         Milliseconds timeout = Milliseconds(30000)) const;
    // True when no shown window has the title any more within the time.
    bool waitUntilGone(const std::string& titlePattern,
                       Milliseconds timeout = Milliseconds(10000)) const;
    // True when the window is no longer shown within the time (another of the same title may be).
    bool waitUntilGone(const Window& window, Milliseconds timeout = Milliseconds(10000)) const;
    // The shown managed windows whose title matches, or all managed ones for an empty pattern.
    std::vector<Window> findWindows(const std::string& titlePattern) const;
    // Every managed window in the window manager's stacking order, the topmost last.
    std::vector<Window> stackingOrder() const;
    // The window that has the focus (id 0 when none).
    Window activeWindow() const;
    // A property of the window as xprop prints it ("_NET_WM_ALLOWED_ACTIONS", "WM_NORMAL_HINTS").
    std::string property(const Window& window, const std::string& name) const;
    // The windows in stacking order and the active one, for failure messages.
    std::string describeScreen() const;

    // Makes the window active as a click on it would, then presses keys on it: xdotool key
    // names separated by spaces ("Return", "alt+F4", "ctrl+s Tab space").
    void key(const Window& window, const std::string& keys) const;
    // Presses keys on whatever has the keyboard now (an open menu, a box just shown).
    void key(const std::string& keys) const;
    // Types text into the window's focused control.
    void type(const Window& window, const std::string& text) const;
    // Clicks a mouse button at a point of the window's client area.
    void click(const Window& window, int x, int y, int button = 1) const;
    // Presses the left button at one point of the window's client area, moves to another in a
    // few steps and releases it there.
    void drag(const Window& window, int fromX, int fromY, int toX, int toY) const;
    // Drag and drop between two controls (a line of one list dropped on another list): slower
    // than drag, with pauses, so that the program starts its drag before the pointer moves on
    // and the target sees the drag enter and move before the drop, however busy the machine.
    void dragAndDrop(const Window& window, int fromX, int fromY, int toX, int toY) const;
    // Moves the pointer to a point of the window's client area without a click.
    void pointAt(const Window& window, int x, int y) const;
    // Asks the window manager to close the window, as its close box does.
    void closeThroughWindowManager(const Window& window) const;

    // The whole screen, or one window, as a PNG file, 300 ms after the call so that a window
    // just shown has painted. Screenshots are for looking at: keep them out of the repository
    // (screenshotPath gives a place; a path in the source tree outside a build folder is
    // refused).
    void screenshot(const std::filesystem::path& png) const;
    void screenshot(const Window& window, const std::filesystem::path& png) const;
    // A file in the folder of screenshots: $Q745_E2E_SCREENSHOTS, else q745-e2e-screenshots in
    // the system's temporary folder.
    static std::filesystem::path screenshotPath(const std::string& name);

private:
    ToolResult tool(const QString& name, const QStringList& arguments,
                    Milliseconds timeout = Milliseconds(10000)) const;
    std::vector<unsigned long> stackingIds() const;
    std::optional<Window> describe(unsigned long id) const;
    void activate(const Window& window) const;
    // Asks the window manager for a number of desktops and waits until it reports it.
    void setDesktops(int count) const;

    ScratchFolder home_{"q745-e2e-desktop"};
    QString display_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> windowManager_;
};

}  // namespace e2e
