#include "chart/axes/per_font_cache.h"

#include <QGuiApplication>
#include <QThread>

namespace uriage::chart {

bool onApplicationThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

bool textsMayBeKept(const QFont& font) { return font.pixelSize() > 0 && onApplicationThread(); }

void FontChangeWatch::watch()
{
    if (watched_)
        return;
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!gui)
        return;
    watched_ = gui;
    QObject::connect(gui, &QGuiApplication::fontDatabaseChanged, gui, forget_);
    QObject::connect(gui, &QObject::destroyed, forget_);
}

} // namespace uriage::chart
