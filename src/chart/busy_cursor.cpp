#include "chart/busy_cursor.h"

#include "data/engine.h"

#include <QCursor>
#include <QGuiApplication>

namespace uriage::chart {

namespace {

bool showBusyCursor()
{
    if (!qGuiApp)
        return false;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    return true;
}

void takeBackBusyCursor()
{
    if (qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

BusyCursor::BusyCursor() : pushed_(showBusyCursor()) {}

BusyCursor::~BusyCursor()
{
    if (pushed_)
        takeBackBusyCursor();
}

void installEngineBusyCursor()
{
    // The engine calls with true before starting and false afterwards, also on
    // failure, so the shows and take-backs stay paired.
    data::Engine::instance().setBusyCursorHook([](bool busy) {
        if (busy)
            showBusyCursor();
        else
            takeBackBusyCursor();
    });
}

} // namespace uriage::chart
