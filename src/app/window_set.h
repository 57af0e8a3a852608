#pragma once
// The program's seven windows, created once at start-up under one hidden
// owner window and destroyed in reverse order at the end.
#include "platform/platform_start.h"

#include <QWidget>
#include <memory>
#include <vector>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;

namespace uriage {

namespace data {
class Engine;
}

// Owns the seven windows; the global names Form1..Form7 refer to them while
// the set lives.
class WindowSet {
public:
    // Creates the owner window (title "売上") and TForm1, TForm2, TForm3,
    // TForm4, TForm6, TForm5, TForm7 in this order, all hidden, and points
    // Form1..Form7 at them. The chart windows' queries run on `engine`, which
    // outlives the set.
    explicit WindowSet(data::Engine& engine);
    // Hides every window at once, then destroys them in reverse creation order.
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    QWidget* owner() const { return owner_.get(); }
    // In creation order.
    const std::vector<QWidget*>& windows() const { return windows_; }

private:
    std::unique_ptr<QWidget> owner_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TForm7> form7_;
    std::vector<QWidget*> windows_;
};

// Shows the main menu window as the launcher asked (normal, maximised, or
// minimised without activation), by the window rules.
void showMainWindow(QWidget* mainWindow, platform::InitialShow request);

// Runs the message loop until the main menu window is closed. Closing it posts
// the end of the loop behind the events already queued.
int runMessageLoop(TForm1* mainWindow);

} // namespace uriage
