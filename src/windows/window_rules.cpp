#include "windows/window_rules.h"

#include "windows/window_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace uriage {
namespace {

constexpr const char* kPlacedProperty = "uriagePlaced";

// Top-level windows in the order they were last activated, most recent first:
// the program's picture of the system's window order.
std::vector<QPointer<QWidget>>& activationOrder()
{
    static std::vector<QPointer<QWidget>> order;
    return order;
}

void noteActivated(QWindow* focusWindow)
{
    if (!focusWindow)
        return;
    auto& order = activationOrder();
    std::erase_if(order, [](const QPointer<QWidget>& w) { return w.isNull(); });
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == focusWindow) {
            std::erase(order, QPointer<QWidget>(widget));
            order.insert(order.begin(), widget);
            return;
        }
    }
}

void trackActivations()
{
    static bool tracking = false;
    if (tracking || !qApp)
        return;
    tracking = true;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, &noteActivated);
    noteActivated(QGuiApplication::focusWindow());
}

bool hasFrame(const QMargins& margins) { return !margins.isNull(); }

QMargins reportedFrame(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// The frame a window manager puts around our windows, learned from any window
// that has been shown; none where nothing reports one.
QMargins& expectedFrame()
{
    static QMargins frame;
    return frame;
}

QMargins learnedFrame()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            if (const QMargins margins = reportedFrame(widget); hasFrame(margins))
                return margins;
    return expectedFrame();
}

// The window's own frame where the platform reports it, also before the
// first mapping where it can; otherwise the frame of the program's other windows.
QMargins frameOf(QWidget* window)
{
    if (const QMargins own = reportedFrame(window); hasFrame(own))
        return own;
    window->winId();
    if (const QWindow* handle = window->windowHandle())
        if (const QMargins margins = handle->frameMargins(); hasFrame(margins))
            return margins;
    return learnedFrame();
}

// Puts the window's frame at a position; the frame is placed through the
// client geometry, which means the same before and after a window is mapped.
void moveFrameTo(QWidget* window, const QPoint& framePosition, const QMargins& frame)
{
    window->setGeometry(QRect(framePosition + QPoint(frame.left(), frame.top()), window->size()));
}

QScreen* monitorOf(const QWidget* window)
{
    if (QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center()))
        return screen;
    return window->screen();
}

void place(QWidget* window)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    QScreen* target = primary;
    const QWidget* active = QApplication::activeWindow();
    if (active && active != window)
        if (QScreen* screen = monitorOf(active))
            target = screen;

    const QMargins frame = frameOf(window);
    const QSize outerSize = window->size().grownBy(frame);
    if (!hasBeenPlaced(window)) {
        moveFrameTo(window, centredOn(target->geometry(), outerSize), frame);
        window->setProperty(kPlacedProperty, true);
        return;
    }
    QScreen* current = monitorOf(window);
    if (active && current && current != target) {
        const QRect outer(window->geometry().topLeft() - QPoint(frame.left(), frame.top()), outerSize);
        moveFrameTo(window, carriedOver(current->geometry(), target->geometry(), outer), frame);
    }
}

QWidget* nextToActivate(const QWidget* hidden)
{
    std::vector<QWidget*> candidates;
    for (const QPointer<QWidget>& widget : activationOrder())
        if (widget)
            candidates.push_back(widget);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (std::find(candidates.begin(), candidates.end(), widget) == candidates.end())
            candidates.push_back(widget);
    std::erase_if(candidates, [hidden](QWidget* w) {
        return w == hidden || !w->isVisible() || !w->isEnabled() || w->windowType() == Qt::Desktop
            || w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup;
    });
    std::stable_partition(candidates.begin(), candidates.end(), [](QWidget* w) {
        return !(w->windowFlags() & Qt::WindowStaysOnTopHint);
    });
    return candidates.empty() ? nullptr : candidates.front();
}

} // namespace

void setExpectedFrame(const QMargins& frame) { expectedFrame() = frame; }

bool hasBeenPlaced(const QWidget* window) { return window->property(kPlacedProperty).toBool(); }

void makeVisible(QWidget* window, Activation activation)
{
    trackActivations();
    if (!window || window->isVisible())
        return;
    place(window);
    window->show();
    if (activation == Activation::Activate) {
        window->raise();
        window->activateWindow();
    }
}

void hideWindow(QWidget* window)
{
    trackActivations();
    if (!window || !window->isVisible())
        return;
    const bool wasActive = window->isActiveWindow();
    window->hide();
    if (wasActive)
        if (QWidget* next = nextToActivate(window))
            next->activateWindow();
}

void hideOnClose(QWidget* window, QCloseEvent* event)
{
    hideWindow(window);
    event->accept();
}

} // namespace uriage
