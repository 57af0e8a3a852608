#include "x_display.h"

#include <QProcessEnvironment>
#include <QThread>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <map>

namespace xtest {
namespace {

// One connection per display for the whole test run: an X server without
// clients resets itself and refuses connections meanwhile, so the tests keep
// one open while programs come and go.
Display* connectionTo(const QString& display)
{
    static std::map<QString, Display*> connections;
    Display*& connection = connections[display];
    if (!connection)
        connection = XOpenDisplay(display.toLocal8Bit().constData());
    return connection;
}

int ignoreXError(Display*, XErrorEvent*) { return 0; } // windows vanish while we walk the tree

void collect(Display* display, Window parent, const QByteArray& className, std::vector<WindowId>& found, int depth)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        XClassHint hint{};
        if (XGetClassHint(display, children[i], &hint)) {
            if (hint.res_class && className == hint.res_class)
                found.push_back(children[i]);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        if (depth < 3)
            collect(display, children[i], className, found, depth + 1);
    }
    if (children)
        XFree(children);
}

// The window's _NET_WM_NAME (UTF-8), or a null string.
QString titleOf(Display* display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (type == utf8 && format == 8)
            title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
        XFree(data);
    }
    return title;
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

void collectTitled(Display* display, Window parent, const QString& title, std::vector<WindowId>& found, int depth)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        if (titleOf(display, children[i]) == title && viewable(display, children[i]))
            found.push_back(children[i]);
        if (depth < 3)
            collectTitled(display, children[i], title, found, depth + 1);
    }
    if (children)
        XFree(children);
}

} // namespace

bool connect(const QString& display) { return connectionTo(display) != nullptr; }

QString testDisplay() { return qEnvironmentVariable("URIAGE_TEST_DISPLAY"); }

std::vector<WindowId> windowsOfClass(const QString& display, const QString& className)
{
    Display* connection = connectionTo(display);
    std::vector<WindowId> found;
    if (connection) {
        XSetErrorHandler(ignoreXError);
        XGrabServer(connection);
        collect(connection, DefaultRootWindow(connection), className.toLatin1(), found, 0);
        XUngrabServer(connection);
        XSync(connection, False);
    }
    return found;
}

std::vector<WindowId> viewableWindowsTitled(const QString& display, const QString& title)
{
    Display* connection = connectionTo(display);
    std::vector<WindowId> found;
    if (connection) {
        XSetErrorHandler(ignoreXError);
        XGrabServer(connection);
        collectTitled(connection, DefaultRootWindow(connection), title, found, 0);
        XUngrabServer(connection);
        XSync(connection, False);
    }
    return found;
}

WindowId waitForViewableWindow(const QString& display, const QString& title, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        const std::vector<WindowId> found = viewableWindowsTitled(display, title);
        if (!found.empty())
            return found.front();
        QThread::msleep(20);
    } while (clock.elapsed() < timeoutMs);
    return 0;
}

bool isViewable(const QString& display, WindowId window)
{
    Display* connection = connectionTo(display);
    if (!connection)
        return false;
    XSetErrorHandler(ignoreXError);
    const bool result = viewable(connection, window);
    XSync(connection, False);
    return result;
}

QRect windowOnScreen(const QString& display, WindowId window)
{
    Display* connection = connectionTo(display);
    if (!connection)
        return {};
    XSetErrorHandler(ignoreXError);
    XWindowAttributes attributes{};
    int x = 0, y = 0;
    Window child = 0;
    QRect rect;
    if (XGetWindowAttributes(connection, window, &attributes) &&
        XTranslateCoordinates(connection, window, attributes.root, 0, 0, &x, &y, &child))
        rect = QRect(x, y, attributes.width, attributes.height);
    XSync(connection, False);
    return rect;
}

QRect screenRect(const QString& display)
{
    Display* connection = connectionTo(display);
    if (!connection)
        return {};
    const int screen = DefaultScreen(connection);
    return QRect(0, 0, DisplayWidth(connection, screen), DisplayHeight(connection, screen));
}

QByteArray windowPixels(const QString& display, WindowId window, const QRect& area)
{
    Display* connection = connectionTo(display);
    if (!connection)
        return {};
    XSetErrorHandler(ignoreXError);
    XImage* image = XGetImage(connection, window, area.x(), area.y(), static_cast<unsigned>(area.width()),
                              static_cast<unsigned>(area.height()), AllPlanes, ZPixmap);
    XSync(connection, False);
    if (!image)
        return {};
    QByteArray pixels(image->data, static_cast<qsizetype>(image->bytes_per_line) * image->height);
    XDestroyImage(image);
    return pixels;
}

bool xdotool(const QString& display, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool clickAt(const QString& display, WindowId window, int x, int y)
{
    return xdotool(display, {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
                             QString::number(window), QString::number(x), QString::number(y),
                             QStringLiteral("click"), QStringLiteral("1")});
}

void focusRoot(const QString& display)
{
    Display* connection = connectionTo(display);
    if (!connection)
        return;
    XSetInputFocus(connection, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(connection, False);
}

WindowId inputFocus(const QString& display)
{
    Display* connection = connectionTo(display);
    Window focus = 0;
    int revert = 0;
    if (connection)
        XGetInputFocus(connection, &focus, &revert);
    return focus;
}

bool waitForWindowCount(const QString& display, const QString& className, size_t count, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (windowsOfClass(display, className).size() == count)
            return true;
        QThread::msleep(20);
    }
    return windowsOfClass(display, className).size() == count;
}

Program::Program(const QString& display, const QString& runtimeDir, const QProcessEnvironment& extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(qEnvironmentVariable("URIAGE_PROGRAM"), {});
    process_.waitForStarted(5000);
}

Program::~Program()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }
}

} // namespace xtest
