#include "windows/engine_busy_cursor.h"

#include "data/engine.h"

#include <QCursor>
#include <QGuiApplication>

namespace uriage {

void installEngineBusyCursor()
{
    // The engine calls with true before starting and false afterwards, also on
    // failure, so the pushes and pops stay paired.
    data::Engine::instance().setBusyCursorHook([](bool busy) {
        if (!qGuiApp)
            return;
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

} // namespace uriage
