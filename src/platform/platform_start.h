#pragma once
// What the program asks of the operating system before any window exists:
// the single-instance guard, bringing the first copy forward, and the
// launcher's initial show request. Plain C++ so that every platform's
// counterpart compiles without the window toolkit.

namespace uriage::platform {

// The guard's name, in the user's logon namespace.
inline constexpr const char kInstanceGuardName[] = "rinpokaneyusa";
// The window class under which the main menu window is registered.
inline constexpr const char kMainWindowClass[] = "TForm1";

// Takes the single-instance guard without waiting. True when this process is
// the one running copy, also when the guard cannot be made at all (the
// program then starts as if it were alone). The guard is held until the
// process ends; the system releases it then, also after a crash.
bool holdInstanceGuard();

// Asks once for the first top-level window of class kMainWindowClass to come to
// the foreground. False when no such window is found.
bool bringFirstCopyForward();

enum class InitialShow { Normal, Maximized, MinimizedNoActivate };

// The launcher's initial show request for the main window, where the
// platform has one; Normal otherwise.
InitialShow initialShowRequest();

} // namespace uriage::platform
