// The start-up services on Windows: a named mutex in the logon namespace,
// FindWindow by class name, and the launcher's show command.
#include "platform/platform_start.h"

#include <windows.h>

namespace uriage::platform {

bool holdInstanceGuard()
{
    // The handle is never closed: the system closes it when the process ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceGuardName);
    if (!mutex)
        return true;
    const DWORD result = WaitForSingleObject(mutex, 0);
    return result != WAIT_TIMEOUT;
}

bool bringFirstCopyForward()
{
    HWND window = FindWindowA(kMainWindowClass, nullptr);
    if (!window)
        return false;
    SetForegroundWindow(window);
    return true;
}

InitialShow initialShowRequest()
{
    STARTUPINFOA info{};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    if (!(info.dwFlags & STARTF_USESHOWWINDOW))
        return InitialShow::Normal;
    switch (info.wShowWindow) {
    case SW_SHOWMAXIMIZED:
        return InitialShow::Maximized;
    case SW_SHOWMINNOACTIVE:
        return InitialShow::MinimizedNoActivate;
    default:
        return InitialShow::Normal;
    }
}

} // namespace uriage::platform
