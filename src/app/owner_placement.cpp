#include "app/owner_placement.h"

#include "windows/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace uriage {

namespace {

QScreen* monitorOf(const QWidget* window)
{
    if (!window)
        return nullptr;
    QScreen* monitor = QGuiApplication::screenAt(window->frameGeometry().center());
    return monitor ? monitor : window->screen();
}

} // namespace

QPoint ownerWindowPosition(const QRect& primaryScreen, const std::optional<QRect>& activeMonitor,
                           const QSize& ownerSize)
{
    return centredOn(activeMonitor.value_or(primaryScreen), ownerSize);
}

QPoint ownedBoxPosition(const QRect& owner, const QSize& box)
{
    return owner.topLeft() + QPoint((owner.width() - box.width()) / 2, (owner.height() - box.height()) / 2);
}

void placeOwnerWindow(QWidget* owner, const QWidget* activeWindow)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    QScreen* monitor = monitorOf(activeWindow);
    const std::optional<QRect> activeMonitor = monitor ? std::optional<QRect>(monitor->geometry()) : std::nullopt;
    owner->setScreen(monitor ? monitor : primary);
    owner->move(ownerWindowPosition(primary->geometry(), activeMonitor, owner->size()));
}

} // namespace uriage
