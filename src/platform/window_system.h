#pragma once
// What the window system learns about the program's windows: the class name
// under which a second copy finds the main menu window, the hidden owner
// window that carries the program's single task-bar entry, and the frame the
// system will put around a window. Each function does nothing where the
// platform has no such notion.
#include <QMargins>
#include <vector>

class QWidget;

namespace uriage::platform {

// Registers the main menu window under the window class kMainWindowClass.
// Call before the window is first shown.
void registerMainWindowClass(QWidget* mainWindow);

// Gives the program its one task-bar entry. The windows are owned by the
// hidden owner window; where the system knows owned windows (Windows), the
// owner carries the entry, labelled with its title, while any of the windows
// is visible, and passes the activation on to them; elsewhere the main window
// carries it and the others are kept out of the task bar. Call after
// registerMainWindowClass and before any of the windows is first shown.
void attachToOwner(QWidget* owner, QWidget* mainWindow, const std::vector<QWidget*>& windows);

// Whether the owner window minimises the program (Windows): minimising the
// main window then minimises the owner instead, the system hides every window
// it owns and shows them again when its task-bar entry is restored. Where it
// does not, the program minimises its visible windows together itself.
bool ownerMinimisesProgram();

// Minimises the program to its task-bar entry through the owner window,
// activating no other window. Call after attachToOwner, only where
// ownerMinimisesProgram().
void minimiseProgram();

// The frame the window system will put around the window, asked of it before
// the window is first mapped; empty where no one answers.
QMargins frameExtentsBeforeMapping(QWidget* window);

} // namespace uriage::platform
