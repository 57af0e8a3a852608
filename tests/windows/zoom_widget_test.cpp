// Zoom and scroll on the chart widget through real mouse and wheel events:
// the ranges the axes are laid out with afterwards, across a new filter, and
// the zoom rectangle that leaves the bitmap as it was.
#include "chart/chart_widget.h"
#include "chart/draw/chart_renderer.h"
#include "chart/layout/series_geometry.h"
#include "windows/chart_binding.h"
#include "chart/model/chart_model.h"
#include "chart/zoom/zoom_frame.h"
#include "fake_dataset.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace uriage::chart::testing;
using uriage::ChartBinding;

const QString kDate = QStringLiteral("施術日");
const QString kFees = QStringLiteral("保険料金合計の合計");
const QString kCount = QStringLiteral("COUNT(*)");
const QString kOther = QStringLiteral("保険外料金の合計");

ChartConfig perDayChart()
{
    ChartConfig config;
    config.titleLines << QStringLiteral("保険料金・患者数・保険外料金");
    config.bottomTitle.caption = QStringLiteral("日");
    config.leftTitle.caption = QStringLiteral("円");
    config.rightTitle.caption = QStringLiteral("患者数");
    const QString y[] = {kFees, kCount, kOther};
    const QString titles[] = {QStringLiteral("保険料金"), QStringLiteral("患者数"), QStringLiteral("保険外料金")};
    for (int i = 0; i < 3; ++i) {
        SeriesConfig& s = config.series[i];
        s.title = titles[i];
        s.xColumn = kDate;
        s.yColumn = y[i];
        s.labelColumn = i == 1 ? QString() : kDate;
        s.axis = i == 1 ? VerticalAxis::Right : VerticalAxis::Left;
        s.color = i == 0 ? colors::red : i == 1 ? colors::green : colors::blue;
    }
    return config;
}

// Days 1.. of March 2005 with takings that grow from the given base.
std::vector<FakeRow> days(int count, double base)
{
    std::vector<FakeRow> rows;
    for (int d = 0; d < count; ++d) {
        const Cell day = date(38412 + d, QStringLiteral("2005/03/%1").arg(d + 1, 2, 10, QChar('0')));
        rows.push_back(FakeRow{{kDate, day},
                               {kFees, num(base + 1000 * d)},
                               {kCount, num(2 + d % 4)},
                               {kOther, num(base / 10 + 100 * (d % 3))}});
    }
    return rows;
}

struct ChartOnScreen {
    FakeDataSet query;
    ChartModel model{perDayChart()};
    ChartBinding binding{model, query};
    ChartWidget widget{model};

    explicit ChartOnScreen(std::vector<FakeRow> rows)
    {
        query.columns = {kDate, kFees, kCount, kOther};
        query.rows = std::move(rows);
        query.open();
        widget.resize(640, 400);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        widget.grab(); // the bitmap as drawn now
    }

    ChartLayout layout() const { return chartLayout(model, widget.rect()); }

    void filter(std::vector<FakeRow> rows)
    {
        query.close();
        query.rows = std::move(rows);
        query.open();
    }

    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&widget, button, Qt::NoModifier, from);
        QTest::mouseMove(&widget, (from + to) / 2);
        QTest::mouseMove(&widget, to);
        QTest::mouseRelease(&widget, button, Qt::NoModifier, to);
    }

    void wheel(int angleDelta)
    {
        const QPointF at = QRectF(widget.rect()).center();
        QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &event);
    }
};

QPoint centre(const PixelRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

ValueRange rangeOf(const AxisLayout& axis) { return {axis.scale.map.minimum(), axis.scale.map.maximum()}; }

void expectSameRanges(const ChartLayout& a, const ChartLayout& b)
{
    for (Axis i : kAllAxes) {
        SCOPED_TRACE(int(i));
        EXPECT_DOUBLE_EQ(rangeOf(a.axes[i]).minimum, rangeOf(b.axes[i]).minimum);
        EXPECT_DOUBLE_EQ(rangeOf(a.axes[i]).maximum, rangeOf(b.axes[i]).maximum);
    }
}

TEST(ZoomWidget, SmallDragsChangeNothingAndTheOutlineLeavesTheBitmapAsItWas)
{
    const QPoint offsets[] = {{16, 40}, {40, 16}, {-16, -16}, {-40, 16}};
    for (const QPoint offset : offsets) {
        SCOPED_TRACE(offset.x() * 1000 + offset.y());
        ChartOnScreen chart(days(10, 30000));
        const ChartLayout before = chart.layout();
        const QImage drawn = chart.widget.bitmap().copy();
        const QPoint from = centre(before.plot);

        QTest::mousePress(&chart.widget, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&chart.widget, from + offset);
        EXPECT_NE(chart.widget.bitmap(), drawn) << "the rectangle is shown while dragging";
        EXPECT_FALSE(chart.model.needsRedraw()) << "no redraw while dragging";
        QTest::mouseRelease(&chart.widget, Qt::LeftButton, Qt::NoModifier, from + offset);

        EXPECT_FALSE(chart.model.needsRedraw());
        EXPECT_EQ(chart.widget.bitmap(), drawn);
        EXPECT_TRUE(chart.model.zoomState().isNormal());
        expectSameRanges(chart.layout(), before);
    }
}

TEST(ZoomWidget, ARedrawWhileDraggingKeepsTheRectangleRemovable)
{
    ChartOnScreen chart(days(10, 30000));
    const QImage drawn = chart.widget.bitmap().copy();
    const QPoint from = centre(chart.layout().plot);

    QTest::mousePress(&chart.widget, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&chart.widget, from + QPoint(12, 30));
    chart.model.markChanged(); // e.g. a refill while the button is down
    chart.widget.grab();
    EXPECT_NE(chart.widget.bitmap(), drawn) << "the rectangle is drawn again after the redraw";
    QTest::mouseMove(&chart.widget, from + QPoint(10, 20));
    QTest::mouseRelease(&chart.widget, Qt::LeftButton, Qt::NoModifier, from + QPoint(10, 20));
    EXPECT_EQ(chart.widget.bitmap(), drawn);
}

TEST(ZoomWidget, AZoomKeepsItsRangesAcrossANewFilterUntilUndone)
{
    ChartOnScreen chart(days(10, 30000));
    const ChartLayout before = chart.layout();
    const ZoomFrame frame = zoomFrame(before);
    const QPoint from(before.plot.left + 30, before.plot.top + 20);
    const QPoint to(before.plot.right - 60, before.plot.bottom - 40);

    chart.drag(Qt::LeftButton, from, to);
    EXPECT_TRUE(chart.model.needsRedraw());
    const ChartLayout zoomed = chart.layout();
    EXPECT_DOUBLE_EQ(zoomed.bottom().scale.map.minimum(), frame.maps[Axis::Bottom].valueAt(from.x()));
    EXPECT_DOUBLE_EQ(zoomed.bottom().scale.map.maximum(), frame.maps[Axis::Bottom].valueAt(to.x()));
    EXPECT_DOUBLE_EQ(zoomed.left().scale.map.minimum(), frame.maps[Axis::Left].valueAt(to.y()));
    EXPECT_DOUBLE_EQ(zoomed.left().scale.map.maximum(), frame.maps[Axis::Left].valueAt(from.y()));
    EXPECT_DOUBLE_EQ(zoomed.right().scale.map.minimum(), frame.maps[Axis::Right].valueAt(to.y()));
    EXPECT_DOUBLE_EQ(zoomed.right().scale.map.maximum(), frame.maps[Axis::Right].valueAt(from.y()));

    // A new filter with much larger takings: the zoomed ranges stay.
    chart.filter(days(20, 90000));
    ASSERT_EQ(chart.model.series(0).count(), 20u);
    expectSameRanges(chart.layout(), zoomed);

    // Dragging up and left brings back automatic ranges over the new data.
    chart.drag(Qt::LeftButton, to, from);
    EXPECT_TRUE(chart.model.zoomState().isNormal());
    const ChartLayout undone = chart.layout();
    EXPECT_LT(undone.bottom().scale.map.minimum(), 38412);
    EXPECT_GT(undone.bottom().scale.map.maximum(), 38412 + 19);
    EXPECT_LT(undone.left().scale.map.minimum(), 9000);   // Series3 starts at 9,000
    EXPECT_GT(undone.left().scale.map.maximum(), 109000); // Series1 ends at 109,000
}

TEST(ZoomWidget, AfterAZoomASeriesLeadsInFromThePlotsLeftEdge)
{
    ChartOnScreen chart(days(10, 30000));
    const ChartLayout before = chart.layout();
    const ValueMap& bottom = before.bottom().scale.map;
    // From between the 3rd and 4th day to between the 7th and 8th.
    const QPoint from(bottom.pixel(38414.5), before.plot.top + 5);
    const QPoint to(bottom.pixel(38418.5), before.plot.bottom - 5);
    chart.drag(Qt::LeftButton, from, to);

    const ChartLayout zoomed = chart.layout();
    const SeriesGeometry g = seriesGeometry(chart.model.series(0), seriesFrame(zoomed, Qt::white));
    EXPECT_EQ(g.firstDrawn, 3u);
    EXPECT_EQ(g.endDrawn, 8u);
    ASSERT_TRUE(g.leadInStart.has_value());
    EXPECT_EQ(g.leadInStart->x(), zoomed.plot.left);
}

TEST(ZoomWidget, RightDragScrollsUntilTheMouseLeavesThePlot)
{
    ChartOnScreen chart(days(10, 30000));
    const ChartLayout before = chart.layout();
    const ZoomFrame frame = zoomFrame(before);
    const QPoint from = centre(before.plot);

    QTest::mousePress(&chart.widget, Qt::RightButton, Qt::NoModifier, from);
    QTest::mouseMove(&chart.widget, from + QPoint(25, 0));
    const ChartLayout scrolled = chart.layout();
    const double dx = frame.maps[Axis::Bottom].valueAt(from.x() + 25) - frame.maps[Axis::Bottom].valueAt(from.x());
    EXPECT_DOUBLE_EQ(scrolled.bottom().scale.map.minimum(), frame.maps[Axis::Bottom].minimum() - dx);
    EXPECT_DOUBLE_EQ(scrolled.bottom().scale.map.maximum(), frame.maps[Axis::Bottom].maximum() - dx);
    EXPECT_DOUBLE_EQ(scrolled.left().scale.map.minimum(), frame.maps[Axis::Left].minimum()) << "no vertical movement";
    EXPECT_TRUE(chart.model.zoomState().saved.has_value());

    // Out of the plot rectangle and back: the scroll has ended.
    QTest::mouseMove(&chart.widget, QPoint(2, 2));
    QTest::mouseMove(&chart.widget, from);
    expectSameRanges(chart.layout(), scrolled);
    QTest::mouseRelease(&chart.widget, Qt::RightButton, Qt::NoModifier, from);

    chart.drag(Qt::LeftButton, from, from - QPoint(40, 40));
    expectSameRanges(chart.layout(), before);
}

TEST(ZoomWidget, WheelStepsHoldTheAxesAcrossANewFilterUntilAnUndoBringsBackTheAutomaticRanges)
{
    ChartOnScreen chart(days(10, 30000));
    const ChartLayout before = chart.layout();
    chart.wheel(-120); // one step down: the ranges move up by 3 %
    const ChartLayout wheeled = chart.layout();
    for (Axis i : {Axis::Left, Axis::Right}) {
        const ValueRange was = rangeOf(before.axes[i]);
        const double shift = 0.03 * (was.maximum - was.minimum);
        EXPECT_DOUBLE_EQ(rangeOf(wheeled.axes[i]).minimum, was.minimum + shift);
        EXPECT_DOUBLE_EQ(rangeOf(wheeled.axes[i]).maximum, was.maximum + shift);
    }
    EXPECT_DOUBLE_EQ(rangeOf(wheeled.bottom()).minimum, rangeOf(before.bottom()).minimum);
    EXPECT_TRUE(chart.model.zoomState().saved.has_value()) << "the automatic state is saved";

    // A new filter with much larger takings: the wheeled vertical ranges stay
    // fixed; the bottom axis, never fixed by the wheel, follows the new days.
    chart.filter(days(20, 90000));
    const ChartLayout refilled = chart.layout();
    for (Axis i : {Axis::Left, Axis::Right}) {
        EXPECT_DOUBLE_EQ(rangeOf(refilled.axes[i]).minimum, rangeOf(wheeled.axes[i]).minimum);
        EXPECT_DOUBLE_EQ(rangeOf(refilled.axes[i]).maximum, rangeOf(wheeled.axes[i]).maximum);
    }
    EXPECT_GT(rangeOf(refilled.bottom()).maximum, 38412 + 19);

    // Dragging up and left brings back the automatic ranges over the new data.
    chart.widget.grab();
    const QPoint from = centre(before.plot);
    chart.drag(Qt::LeftButton, from, from - QPoint(40, 40));
    EXPECT_TRUE(chart.model.needsRedraw()) << "the undo redraws";
    EXPECT_TRUE(chart.model.zoomState().isNormal());
    const ChartOnScreen fresh(days(20, 90000));
    expectSameRanges(chart.layout(), fresh.layout());
}

TEST(ZoomWidget, PressesOnTheLegendOrTitleDoNothing)
{
    ChartOnScreen chart(days(10, 30000));
    const ChartLayout layout = chart.layout();
    const QImage drawn = chart.widget.bitmap().copy();
    const QPoint starts[] = {{(layout.legend.box.left + layout.legend.box.right) / 2, layout.legend.box.top + 3},
                             {centre(layout.plot).x(), layout.title.front().y + 2}};
    for (const QPoint start : starts) {
        chart.drag(Qt::LeftButton, start, start + QPoint(-60, 60));
        chart.drag(Qt::RightButton, start, centre(layout.plot));
        EXPECT_EQ(chart.widget.bitmap(), drawn);
        EXPECT_TRUE(chart.model.zoomState().isNormal());
        EXPECT_FALSE(chart.model.needsRedraw());
    }
}

} // namespace
} // namespace uriage::chart
