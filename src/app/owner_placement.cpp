#include "app/owner_placement.h"

#include "windows/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace uriage {

namespace {

QRect primaryScreenRect()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

std::optional<QRect> monitorOf(const QWidget* window)
{
    if (!window)
        return std::nullopt;
    const QScreen* monitor = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!monitor)
        monitor = window->screen();
    return monitor ? std::optional<QRect>(monitor->geometry()) : std::nullopt;
}

} // namespace

QPoint ownerWindowPosition(const QRect& primaryScreen, const std::optional<QRect>& activeMonitor,
                           const QSize& ownerSize)
{
    return centredOn(activeMonitor.value_or(primaryScreen), ownerSize);
}

void placeOwnerWindow(QWidget* owner, const QWidget* activeWindow)
{
    owner->move(ownerWindowPosition(primaryScreenRect(), monitorOf(activeWindow), owner->size()));
}

} // namespace uriage
