// The window hints on Windows: the main menu window's class name, and the
// hidden owner window that owns the program's windows and carries its one
// task-bar entry.
#include "platform/window_system.h"

#include "platform/platform_start.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>
#include <windows.h>

namespace uriage::platform {
namespace {

HWND nativeHandle(QWidget* window) { return reinterpret_cast<HWND>(window->winId()); }

// Posted to the owner window when it has become active: the activation is
// passed on afterwards, not from inside WM_ACTIVATE.
constexpr UINT kPassActivation = WM_APP + 0x51;

struct OwnerState {
    WNDPROC toolkitProcedure = nullptr;
    WNDPROC mainWindowProcedure = nullptr;
    HWND owner = nullptr;
    QPointer<QWidget> mainWindow;
    std::vector<HWND> hiddenWithOwner; // front to back
};

OwnerState& ownerState()
{
    static OwnerState state;
    return state;
}

// The owner window is never seen: activated through its task-bar entry, it
// hands the activation to the program's window that was active last.
void passActivation(HWND owner)
{
    OwnerState& state = ownerState();
    HWND target = GetLastActivePopup(owner);
    if (target == owner && state.mainWindow && state.mainWindow->isVisible())
        target = nativeHandle(state.mainWindow);
    if (target != owner && GetActiveWindow() == owner && IsWindowVisible(target) && IsWindowEnabled(target))
        SetActiveWindow(target);
}

// Minimised, the owner hides every window it owns and, restored, shows again
// those it hid, in their order. Done here rather than left to the system:
// Wine, for one, leaves owned windows shown beside a minimised owner.
void hideOwnedWindows(HWND owner)
{
    struct Search {
        HWND owner;
        std::vector<HWND>& found;
    } search{owner, ownerState().hiddenWithOwner};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        ShowWindow(window, SW_HIDE);
}

void showHiddenOwnedWindows()
{
    std::vector<HWND> hidden;
    std::swap(hidden, ownerState().hiddenWithOwner);
    // Listed front to back: shown back to front, without activation.
    for (auto window = hidden.rbegin(); window != hidden.rend(); ++window)
        if (IsWindow(*window))
            ShowWindow(*window, SW_SHOWNA);
}

LRESULT CALLBACK ownerProcedure(HWND owner, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnerState& state = ownerState();
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            PostMessageW(owner, kPassActivation, 0, 0);
        break;
    case kPassActivation:
        passActivation(owner);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            hideOwnedWindows(owner);
        else
            showHiddenOwnedWindows();
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE)
            break;
        [[fallthrough]];
    case WM_CLOSE:
        // Close on the task-bar entry closes the main menu window, which ends
        // the program.
        if (state.mainWindow)
            PostMessageW(nativeHandle(state.mainWindow), WM_CLOSE, 0, 0);
        return 0;
    default:
        break;
    }
    return CallWindowProcW(state.toolkitProcedure, owner, message, wParam, lParam);
}

// The main window's minimise box and system menu minimise the whole program:
// the owner window is minimised instead, and the system hides every window it
// owns until its task-bar entry is restored.
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnerState& state = ownerState();
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(state.owner, SW_MINIMIZE);
        return 0;
    }
    return CallWindowProcW(state.mainWindowProcedure, window, message, wParam, lParam);
}

// The owner is shown (without size, without activation) exactly while at
// least one of the program's windows is visible, so that the task bar shows
// its entry then and only then.
class TaskbarEntry : public QObject {
public:
    TaskbarEntry(QWidget* owner, std::vector<QWidget*> windows) : QObject(owner), owner_(owner)
    {
        for (QWidget* window : windows) {
            windows_.emplace_back(window);
            window->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            update(event->type() == QEvent::Show);
        return false;
    }

private:
    void update(bool showing)
    {
        // A window being shown is not yet visible to the system; one being
        // hidden already is not.
        const bool wanted = showing || std::any_of(windows_.begin(), windows_.end(), [](const QPointer<QWidget>& w) {
                                return w && IsWindowVisible(nativeHandle(w));
                            });
        HWND owner = nativeHandle(owner_);
        if (wanted != bool(IsWindowVisible(owner)))
            ShowWindow(owner, wanted ? SW_SHOWNOACTIVATE : SW_HIDE);
    }

    QWidget* owner_;
    std::vector<QPointer<QWidget>> windows_;
};

} // namespace

void registerMainWindowClass(QWidget* mainWindow)
{
    // The toolkit registers a window under this class name when the window
    // carries it before it is created.
    mainWindow->setProperty("_q_platform_windowsClassName", QString::fromLatin1(kMainWindowClass));
}

void attachToOwner(QWidget* owner, QWidget* mainWindow, const std::vector<QWidget*>& windows)
{
    // Created first, the owner becomes the owner of every window created
    // after it; owned windows have no task-bar entries of their own.
    HWND handle = nativeHandle(owner);
    SetWindowLongPtrW(handle, GWL_STYLE, WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowPos(handle, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    OwnerState& state = ownerState();
    state.owner = handle;
    state.mainWindow = mainWindow;
    state.toolkitProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ownerProcedure)));
    for (QWidget* window : windows)
        window->winId();
    state.mainWindowProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        nativeHandle(mainWindow), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mainWindowProcedure)));
    new TaskbarEntry(owner, windows);
}

bool ownerMinimisesProgram() { return true; }

void minimiseProgram()
{
    if (HWND owner = ownerState().owner)
        ShowWindow(owner, SW_SHOWMINNOACTIVE);
}

// Windows reports a window's frame before it is first shown.
QMargins frameExtentsBeforeMapping(QWidget*) { return {}; }

} // namespace uriage::platform
