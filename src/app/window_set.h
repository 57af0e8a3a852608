#pragma once
// The program's seven windows, created once at start-up under one hidden
// owner window and destroyed in reverse order at the end.
#include "platform/platform_start.h"

#include <QWidget>
#include <vector>

class TForm1;

namespace uriage {

class WindowSet {
public:
    // Creates the owner window (title "売上") and TForm1, TForm2, TForm3,
    // TForm4, TForm6, TForm5, TForm7 in this order into Form1..Form7, all hidden.
    WindowSet();
    // Hides every window at once, then destroys them in reverse creation order.
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    QWidget* owner() const { return owner_; }
    // In creation order.
    const std::vector<QWidget*>& windows() const { return windows_; }

private:
    QWidget* owner_;
    std::vector<QWidget*> windows_;
};

// Shows the main menu window as the launcher asked (normal, maximised, or
// minimised without activation), by the window rules.
void showMainWindow(QWidget* mainWindow, platform::InitialShow request);

// Runs the message loop until the main menu window is closed. Closing it posts
// the end of the loop behind the events already queued.
int runMessageLoop(TForm1* mainWindow);

} // namespace uriage
