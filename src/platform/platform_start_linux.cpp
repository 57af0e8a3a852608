// The start-up services on Linux/X11: an advisory file lock in the user's
// runtime directory stands for the named mutex, and the first copy's main
// menu window is found by its X11 window class.
#include "platform/platform_start.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace uriage::platform {
namespace {

std::string runtimeDirectory()
{
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir)
        return dir;
    const std::string fallback = "/run/user/" + std::to_string(getuid());
    struct stat info {};
    if (stat(fallback.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid())
        return fallback;
    return {};
}

int ignoreXError(Display*, XErrorEvent*) { return 0; }

bool hasClass(Display* display, Window window, const char* className)
{
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool match = hint.res_class && std::strcmp(hint.res_class, className) == 0;
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return match;
}

// Depth first, since window managers put client windows inside frames.
Window findWindowOfClass(Display* display, Window parent, const char* className, int depth = 0)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        if (hasClass(display, children[i], className))
            found = children[i];
    for (unsigned int i = 0; i < count && !found && depth < 3; ++i)
        found = findWindowOfClass(display, children[i], className, depth + 1);
    if (children)
        XFree(children);
    return found;
}

bool windowManagerRuns(Display* display, Window root)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool present = XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type, &format,
                                            &items, &after, &data) == Success
        && type == XA_WINDOW && items == 1;
    if (data)
        XFree(data);
    return present;
}

} // namespace

bool holdInstanceGuard()
{
    const std::string dir = runtimeDirectory();
    if (dir.empty())
        return true;
    const std::string path = dir + "/" + kInstanceGuardName;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true; // held, never closed: the system releases it with the process
    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(fd);
    return !heldElsewhere;
}

bool bringFirstCopyForward()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    auto* previous = XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    const Window target = findWindowOfClass(display, root, kMainWindowClass);
    if (target) {
        if (windowManagerRuns(display, root)) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = target;
            event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = 2; // a request from a pager: the user's own wish
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        } else {
            XRaiseWindow(display, target);
            XSetInputFocus(display, target, RevertToParent, CurrentTime);
        }
        XSync(display, False);
    }
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return target != 0;
}

InitialShow initialShowRequest() { return InitialShow::Normal; }

} // namespace uriage::platform
