#include "chart/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace uriage::chart {

bool BusyCursor::show()
{
    if (!qGuiApp)
        return false;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    return true;
}

void BusyCursor::takeBack()
{
    if (qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

BusyCursor::BusyCursor() : pushed_(show()) {}

BusyCursor::~BusyCursor()
{
    if (pushed_)
        takeBack();
}

} // namespace uriage::chart
