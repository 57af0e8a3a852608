#pragma once
// The real X server of the window tests, and the program started on it.
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
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

// Gives the keyboard focus to the root window (away from every client).
void focusRoot(const QString& display);
// The window that has the keyboard focus.
WindowId inputFocus(const QString& display);

// One copy of the program on the test display, with a runtime directory of
// the test's own (where its single-instance lock lives).
class Program {
public:
    Program(const QString& display, const QString& runtimeDir);
    ~Program();
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

} // namespace xtest
