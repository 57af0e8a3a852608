#include "x_display.h"

#include <QProcessEnvironment>
#include <QThread>
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

Program::Program(const QString& display, const QString& runtimeDir)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
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
