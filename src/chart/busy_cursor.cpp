#include "chart/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace uriage::chart {

BusyCursor::BusyCursor()
{
    // Without a GUI application (command-line checks) there is no cursor to set.
    if (qGuiApp) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        pushed_ = true;
    }
}

BusyCursor::~BusyCursor()
{
    if (pushed_ && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace uriage::chart
