#pragma once
// A filter press on a real chart window, timed until the chart is painted.
#include <QDateTime>
#include <QString>

namespace uriage {
class ChartWindow;
}

namespace uriage::bench {

struct PressResult {
    double milliseconds = 0;       // click to chart painted
    double lockMilliseconds = 0;   // the table file's read lock, by the engine's own timing
    int copyTries = 0;             // lock-free copies of the table file the read tried
    int points = 0;                // points in the first series after the press
    QString error;                 // what the error box would have said; empty when none
};

// Moves the table file's modification time to `when`, which the engine takes
// for a save: the next press copies and aggregates the file afresh. False
// when the time cannot be set.
bool markTableChanged(const QString& tableFile, const QDateTime& when);

// Shows the window (if hidden) and types the filter values into its boxes.
void prepareFilter(ChartWindow& window, const QString& year, const QString& month);

// Clicks the filter button, lets the events run and paints the chart if the
// event loop has not painted it yet; the clock stops when the chart's bitmap
// holds the new points.
PressResult pressAndPaint(ChartWindow& window);

} // namespace uriage::bench
