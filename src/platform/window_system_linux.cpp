// The window hints on X11: the main menu window's WM_CLASS, the task-bar
// hints, and the frame extents the window manager announces.
#include "platform/window_system.h"

#include "platform/platform_start.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <QThread>
#include <string>
#include <vector>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace uriage::platform {
namespace {

#if QT_CONFIG(xcb)
xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

bool hasAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t value)
{
    auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count && !found; ++i)
            found = atoms[i] == value;
    }
    free(reply);
    return found;
}

// The window manager drops _NET_WM_STATE whenever a window is withdrawn, so
// the hint is put back just before every mapping (the show event comes first).
class SkipTaskbarOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            addSkipTaskbar(static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void addSkipTaskbar(QWidget* window)
    {
        xcb_connection_t* connection = x11Connection();
        if (!connection || !window->internalWinId())
            return;
        const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
        const xcb_atom_t skip = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
        const auto id = static_cast<xcb_window_t>(window->internalWinId());
        if (hasAtom(connection, id, state, skip))
            return;
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
        xcb_flush(connection);
    }
};

std::vector<uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    std::vector<uint32_t> values;
    auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_CARDINAL, 0, 16);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
    }
    return values;
}

bool windowManagerRuns(xcb_connection_t* connection, xcb_window_t root)
{
    auto cookie = xcb_get_property(connection, 0, root, atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                                   XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    const bool runs = reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4;
    free(reply);
    return runs;
}
#endif

} // namespace

QMargins frameExtentsBeforeMapping(QWidget* window)
{
#if QT_CONFIG(xcb)
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return {};
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    if (!windowManagerRuns(connection, root))
        return {};
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    // The answer is a property on the window; a window manager that knows the
    // request sets it at once.
    for (int attempt = 0; attempt < 25; ++attempt) {
        const std::vector<uint32_t> values = cardinals(connection, id, extents);
        if (values.size() == 4) // left, right, top, bottom
            return QMargins(int(values[0]), int(values[2]), int(values[1]), int(values[3]));
        QThread::msleep(4);
    }
#else
    (void)window;
#endif
    return {};
}

void registerMainWindowClass(QWidget* mainWindow)
{
#if QT_CONFIG(xcb)
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    // "instance\0class\0"
    std::string value = QCoreApplication::applicationName().toStdString();
    value.push_back('\0');
    value += kMainWindowClass;
    value.push_back('\0');
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(mainWindow->winId()),
                        XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, static_cast<uint32_t>(value.size()), value.data());
    xcb_flush(connection);
#else
    (void)mainWindow;
#endif
}

// X11 task bars know no owned windows: the main window carries the entry.
void attachToOwner(QWidget* /*owner*/, QWidget* mainWindow, const std::vector<QWidget*>& windows)
{
#if QT_CONFIG(xcb)
    if (!x11Connection())
        return;
    for (QWidget* window : windows)
        if (window != mainWindow)
            window->installEventFilter(new SkipTaskbarOnShow(window));
#else
    (void)mainWindow;
    (void)windows;
#endif
}

// X11 has no owner that minimises its windows with it.
bool ownerMinimisesProgram() { return false; }
void minimiseProgram() {}

} // namespace uriage::platform
