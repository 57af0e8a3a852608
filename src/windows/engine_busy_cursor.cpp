#include "windows/engine_busy_cursor.h"

#include "chart/busy_cursor.h"

namespace uriage {

std::function<void(bool)> engineBusyCursor()
{
    // The engine calls with true before starting and false afterwards, also on
    // failure, so the shows and take-backs stay paired.
    return [](bool busy) {
        if (busy)
            chart::BusyCursor::show();
        else
            chart::BusyCursor::takeBack();
    };
}

} // namespace uriage
