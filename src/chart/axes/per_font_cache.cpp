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

void whenFontsChange(std::function<void()> forget)
{
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(gui, &QGuiApplication::fontDatabaseChanged, gui, forget);
        QObject::connect(gui, &QObject::destroyed, forget);
    }
}

} // namespace uriage::chart
