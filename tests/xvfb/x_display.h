#pragma once
// The real X server of the window tests, and the program started on it.
#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace xtest {

using WindowId = unsigned long; // an X11 window

// The display scripts/test started, or empty.
QString testDisplay();

// Opens the tests' lasting connection to the display; false if it cannot.
bool connect(const QString& display);

// Top-level windows of an X11 window class, as a second program finds them.
std::vector<WindowId> windowsOfClass(const QString& display, const QString& className);

// Waits until exactly `count` windows of the class exist; false on time-out.
bool waitForWindowCount(const QString& display, const QString& className, size_t count, int timeoutMs);

// Windows on screen (mapped, with every ancestor mapped) whose title
// (_NET_WM_NAME) is exactly `title`.
std::vector<WindowId> viewableWindowsTitled(const QString& display, const QString& title);
// Waits until a window with that title is on screen; 0 on time-out.
WindowId waitForViewableWindow(const QString& display, const QString& title, int timeoutMs);
// Whether the window is on screen.
bool isViewable(const QString& display, WindowId window);

// The window's rectangle on the screen, and the screen's; empty when unknown.
QRect windowOnScreen(const QString& display, WindowId window);
QRect screenRect(const QString& display);

// The pixels of a rectangle of the window (client coordinates), as the
// server holds them; empty if they cannot be read.
QByteArray windowPixels(const QString& display, WindowId window, const QRect& area);

// Runs xdotool on the display (pointer and keyboard input through the XTEST
// extension, as a user's would arrive); true if it succeeded.
bool xdotool(const QString& display, const QStringList& arguments);
// Clicks the first mouse button at a point in the window's client coordinates.
bool clickAt(const QString& display, WindowId window, int x, int y);

// Gives the keyboard focus to the root window (away from every client).
void focusRoot(const QString& display);
// The window that has the keyboard focus.
WindowId inputFocus(const QString& display);

// One copy of the program on the test display, with a runtime directory of
// the test's own (where its single-instance lock lives).
class Program {
public:
    // `extra` is added to the test's environment (e.g. WINEPREFIX).
    Program(const QString& display, const QString& runtimeDir, const QProcessEnvironment& extra = {});
    ~Program();
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

} // namespace xtest
