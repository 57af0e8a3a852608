// DBChart1 keeps its off-screen bitmap while neither the chart nor its size
// changes, and a change of the chart leads to one repaint at the next paint.
#include "chart/chart_widget.h"
#include "chart/model/chart_model.h"

#include <QTest>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

// Lets the event loop run until the chart has been painted (or a second passed).
bool paintedSoon(const ChartModel& model)
{
    for (int i = 0; i < 100 && model.needsRedraw(); ++i)
        QTest::qWait(10);
    return !model.needsRedraw();
}

TEST(ChartWidget, RedrawsItsBitmapOnlyAfterAChangeOrAResize)
{
    ChartModel model{ChartConfig{}};
    ChartWidget widget(model);
    EXPECT_EQ(widget.objectName(), QStringLiteral("DBChart1"));
    widget.resize(300, 200);

    widget.grab();
    ASSERT_EQ(widget.bitmap().size(), QSize(300, 200));
    EXPECT_FALSE(model.needsRedraw());
    const qint64 drawn = widget.bitmap().cacheKey();

    widget.grab();
    EXPECT_EQ(widget.bitmap().cacheKey(), drawn) << "unchanged chart, same size: the bitmap is kept";

    model.markChanged();
    widget.grab();
    EXPECT_NE(widget.bitmap().cacheKey(), drawn);
    EXPECT_FALSE(model.needsRedraw());

    const qint64 redrawn = widget.bitmap().cacheKey();
    widget.resize(320, 180);
    widget.grab();
    EXPECT_EQ(widget.bitmap().size(), QSize(320, 180));
    EXPECT_NE(widget.bitmap().cacheKey(), redrawn);
}

TEST(ChartWidget, AChangeRepaintsTheShownWidgetAtTheNextPaint)
{
    ChartModel model{ChartConfig{}};
    ChartWidget widget(model);
    widget.resize(200, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    ASSERT_TRUE(paintedSoon(model));

    model.markChanged();
    model.markChanged();
    EXPECT_TRUE(model.needsRedraw()) << "a change only marks the chart";
    EXPECT_TRUE(paintedSoon(model));
}

TEST(ChartWidget, ReleasesTheChangeListenerWhenDestroyed)
{
    ChartModel model{ChartConfig{}};
    {
        ChartWidget widget(model);
    }
    model.markChanged(); // must not reach the destroyed widget
    EXPECT_TRUE(model.needsRedraw());
}

} // namespace
} // namespace uriage::chart
