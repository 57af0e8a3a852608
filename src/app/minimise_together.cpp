#include "app/minimise_together.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace uriage {

MinimiseTogether::MinimiseTogether(QWidget* mainWindow, std::vector<QWidget*> others)
    : QObject(mainWindow), mainWindow_(mainWindow)
{
    for (QWidget* other : others)
        others_.emplace_back(other);
    mainWindow->installEventFilter(this);
}

bool MinimiseTogether::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow_ && event->type() == QEvent::WindowStateChange) {
        const bool was = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized;
        const bool is = mainWindow_->windowState() & Qt::WindowMinimized;
        if (is && !was)
            mainMinimised();
        else if (was && !is)
            mainRestored();
    }
    return false;
}

void MinimiseTogether::mainMinimised()
{
    minimisedWithMain_.clear();
    for (const QPointer<QWidget>& other : others_) {
        if (other && other->isVisible() && !(other->windowState() & Qt::WindowMinimized)) {
            minimisedWithMain_.push_back(other);
            other->setWindowState(other->windowState() | Qt::WindowMinimized);
        }
    }
}

void MinimiseTogether::mainRestored()
{
    for (const QPointer<QWidget>& other : minimisedWithMain_)
        if (other && other->isVisible())
            other->setWindowState(other->windowState() & ~Qt::WindowMinimized);
    minimisedWithMain_.clear();
}

} // namespace uriage
