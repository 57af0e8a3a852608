#include "chart_press.h"

#include "statistics.h"
#include "simulated_input.h"

#include "chart/model/chart_model.h"
#include "chart/chart_widget.h"
#include "data/query.h"
#include "windows/chart_window.h"
#include "windows/handler_dispatch.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>

namespace uriage::bench {
namespace {

// Counts the paint events that reach one widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

} // namespace

bool markTableChanged(const QString& tableFile, const QDateTime& when)
{
    QFile file(tableFile);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

void prepareFilter(ChartWindow& window, const QString& year, const QString& month)
{
    if (!window.isVisible()) {
        window.show();
        QApplication::processEvents();
    }
    simulated::typeInto(window.Edit1, year);
    simulated::typeInto(window.Edit2, month);
}

PressResult pressAndPaint(ChartWindow& window)
{
    PressResult result;
    setErrorDisplay([&result](const QString& message) { result.error = message; });
    PaintCounter paints;
    window.DBChart1->installEventFilter(&paints);
    const Stopwatch clock;
    simulated::click(window.Button1);
    QApplication::processEvents();
    if (window.chart().needsRedraw())
        window.DBChart1->repaint();
    result.milliseconds = clock.milliseconds();
    window.DBChart1->removeEventFilter(&paints);
    setErrorDisplay({});
    if (result.error.isEmpty() && (paints.count == 0 || window.chart().needsRedraw()))
        result.error = QStringLiteral("the chart was not painted after the press");
    result.lockMilliseconds = window.query().lastLockMilliseconds();
    result.copyTries = window.query().lastCopyTries();
    result.points = int(window.chart().series(0).count());
    return result;
}

} // namespace uriage::bench
