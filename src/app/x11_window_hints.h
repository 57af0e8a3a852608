#pragma once
// What the X11 window manager and task bar learn about our windows. Each
// function does nothing where the windows are not X11 windows.
#include <QMargins>

class QWidget;

namespace uriage {

// Registers the window under an X11 window class name (WM_CLASS), by which a
// second copy of the program finds it. Call before the window is first shown.
void setX11WindowClass(QWidget* window, const char* className);

// Keeps the window out of the task bar each time it is shown: the program has
// one task-bar entry, carried by the main menu window on X11.
void keepOutOfTaskbar(QWidget* window);

// The frame the window manager will put around the window, asked of it before
// the window is first mapped; empty where no window manager answers.
QMargins frameExtentsBeforeMapping(QWidget* window);

} // namespace uriage
