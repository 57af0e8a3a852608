#pragma once
// The rules every window of the program follows when it is shown, hidden and
// closed. The chart windows and the main menu reach each other only through them.
class QCloseEvent;
class QMargins;
class QWidget;

namespace uriage {

// Makes a window visible. One that is already visible is left alone (neither
// moved nor brought to the front). Otherwise it is placed (centred on the
// primary screen at its first showing, carried to the monitor of the program's
// active window where that is another one), shown in its current window state
// and activated (unless told to leave the activation alone).
enum class Activation { Activate, Leave };
void makeVisible(QWidget* window, Activation activation = Activation::Activate);

// Hides a window, keeping everything in it. If it was the active window, the
// most recently active other visible and enabled window of the program becomes
// active (windows that stay on top come last). Hiding a hidden window does nothing.
void hideWindow(QWidget* window);

// For a chart window's closeEvent: closing never asks and never refuses; it
// hides the window exactly as hideWindow does.
void hideOnClose(QWidget* window, QCloseEvent* event);

// The frame a window manager is known to put around the program's windows
// before any of them has been mapped (asked of it by the platform layer); used
// for centring until a shown window reports its own frame.
void setExpectedFrame(const QMargins& frame);

// True once the window has had its first showing (and its centring).
bool hasBeenPlaced(const QWidget* window);

} // namespace uriage
