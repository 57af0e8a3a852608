#include "windows/engine_busy_cursor.h"

#include "chart/busy_cursor.h"
#include "data/engine.h"

namespace uriage {

void installEngineBusyCursor()
{
    // The engine calls with true before starting and false afterwards, also on
    // failure, so the shows and take-backs stay paired.
    data::Engine::instance().setBusyCursorHook([](bool busy) {
        if (busy)
            chart::BusyCursor::show();
        else
            chart::BusyCursor::takeBack();
    });
}

} // namespace uriage
