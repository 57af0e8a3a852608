#include "chart/layout/chart_layout.h"

#include "chart/model/chart_model.h"
#include "chart/axes/round.h"

#include <algorithm>

namespace uriage::chart {

namespace {

constexpr int kMarginLeftRight = 3;   // percent of the width
constexpr int kMarginTopBottom = 4;   // percent of the height
constexpr int kLegendGapPercent = 3;  // between legend and plot, of R's width
constexpr int kLegendTopPercent = 10; // of the chart height
constexpr int kTitleGap = 5;
constexpr int kDepthPerSeries = 15;   // thousandths of the width
constexpr int kTickBand = 6;          // axis line 2 + tick 4 (minor ticks 2 fit in)

LegendGeometry placeLegend(const QStringList& entries, const PixelRect& area, const PixelRect& r,
                           const TextMeasurer& font)
{
    LegendGeometry legend;
    if (entries.isEmpty())
        return legend;
    legend.shown = true;
    const int h = font.lineHeight();
    int t = 0;
    for (const QString& entry : entries)
        t = std::max(t, font.width(entry));
    const int e = r.right - 5; // frame, gap and shadow to its right
    const int xt = e - t - 2;
    const int c = roundPixel((e - xt + 8) * 12 / 100.0);
    const int yt = area.top + percentOf(area.height(), kLegendTopPercent);
    int rows = int(entries.size());
    if (h > 0)
        rows = std::min(rows, std::max(0, (r.bottom - 2 - yt) / h));
    legend.box = {xt - c - 8, yt, e, yt + rows * h + 2};
    legend.lineHeight = h;
    legend.colorBoxWidth = c;
    for (int i = 0; i < rows; ++i) {
        const int top = yt + 1 + i * h;
        legend.rows.push_back({i, entries[i], xt, top, QRect(QPoint(xt - 4 - c, top + 2), QPoint(xt - 4, top + h - 2))});
    }
    return legend;
}

} // namespace

int percentOf(int length, int percent) { return roundPixel(length * percent / 100.0); }

LayoutInput layoutInput(const ChartModel& model, const QRect& area)
{
    const ChartConfig& config = model.config();
    LayoutInput input;
    input.area = {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    input.view = config.view;
    input.titleLines = config.titleLines;
    input.activeSeries = ChartModel::seriesCount();
    for (int i = 0; i < ChartModel::seriesCount(); ++i)
        input.legendEntries << model.series(i).config().title;
    input.axisTitles = {AxisTitleInput{config.bottomTitle.caption, config.bottomTitle.size},
                        AxisTitleInput{config.leftTitle.caption, config.leftTitle.size},
                        AxisTitleInput{config.rightTitle.caption, config.rightTitle.size}};
    input.axes = {axisInput(model, AxisSide::Bottom), axisInput(model, AxisSide::Left),
                  axisInput(model, AxisSide::Right)};
    // Axes held by zoom or scroll keep their fixed range instead of the automatic one.
    for (int i = 0; i < 3; ++i)
        input.axes[i].fixedRange = model.zoomState().fixed[i];
    return input;
}

ChartLayout layoutChart(const LayoutInput& input, const ChartMeasures& measures, const RegionalSettings& regional)
{
    ChartLayout layout;
    layout.area = input.area;
    layout.view = input.view;

    // Margins.
    const PixelRect& a = input.area;
    PixelRect r{a.left + percentOf(a.width(), kMarginLeftRight), a.top + percentOf(a.height(), kMarginTopBottom),
                a.right - percentOf(a.width(), kMarginLeftRight), a.bottom - percentOf(a.height(), kMarginTopBottom)};

    // Legend at the right.
    layout.legend = placeLegend(input.legendEntries, a, r, measures.legend);
    if (layout.legend.shown)
        r.right = layout.legend.box.left - percentOf(r.width(), kLegendGapPercent);

    // Title lines, each centred between R's edges.
    layout.titleLineHeight = measures.title.lineHeight();
    for (int k = 0; k < input.titleLines.size(); ++k) {
        const QString& text = input.titleLines[k];
        layout.title.push_back({text, (r.left + r.right) / 2 - measures.title.width(text) / 2,
                                r.top + k * layout.titleLineHeight});
    }
    if (!input.titleLines.isEmpty())
        r.top += int(input.titleLines.size()) * layout.titleLineHeight + kTitleGap;

    // Depth of the plot box.
    if (input.view == View::ThreeD) {
        layout.slotWidth = roundPixel(r.width() * kDepthPerSeries / 1000.0);
        layout.depth = input.activeSeries * layout.slotWidth;
        r.right -= layout.depth;
        r.top += layout.depth;
    }

    const std::array<const TextMeasurer*, 3> titleFonts = {&measures.bottomTitle, &measures.leftTitle,
                                                           &measures.rightTitle};

    // Bottom axis bands.
    AxisLayout& bottom = layout.axes[0];
    bottom.side = AxisSide::Bottom;
    bottom.shown = input.axes[0].shown;
    bottom.caption = input.axisTitles[0].caption;
    if (bottom.shown) {
        if (!bottom.caption.isEmpty()) {
            const int size = input.axisTitles[0].size;
            r.bottom -= size != 0 ? size : titleFonts[0]->lineHeight();
        }
        bottom.titleReference = r.bottom;
        r.bottom -= measures.labels.lineHeight();
        bottom.labelReference = r.bottom;
        r.bottom -= kTickBand;
    }

    // Vertical axes: their length is settled once the bottom bands are off.
    for (int i = 1; i <= 2; ++i) {
        AxisLayout& axis = layout.axes[i];
        axis.side = i == 1 ? AxisSide::Left : AxisSide::Right;
        axis.shown = input.axes[i].shown;
        axis.caption = input.axisTitles[i].caption;
        if (!axis.shown)
            continue;
        const int outward = i == 1 ? 1 : -1; // the left axis' bands grow R.left
        int& edge = i == 1 ? r.left : r.right;
        if (!axis.caption.isEmpty()) {
            const int size = input.axisTitles[i].size;
            edge += outward * (size != 0 ? size : titleFonts[i]->width(axis.caption));
        }
        axis.titleReference = edge;
        axis.scale = scaleAxis(input.axes[i], r.bottom, r.top, measures.labels, regional);
        edge += outward * verticalLabelBand(axis.scale, measures.labels);
        axis.labelReference = edge;
        edge += outward * kTickBand;
    }

    if (bottom.shown)
        bottom.scale = scaleAxis(input.axes[0], r.left, r.right, measures.labels, regional);

    layout.plot = r;
    for (AxisLayout& axis : layout.axes) {
        if (!axis.shown)
            continue;
        for (const AxisLabel& label : axis.scale.labels)
            axis.ticks.push_back(label.pixel);
        axis.minorTicks = minorTicks(axis.ticks, axis.scale.map.start(), axis.scale.map.end());
    }
    if (input.view == View::ThreeD)
        layout.axes[2].depthShift = layout.depth;
    return layout;
}

} // namespace uriage::chart
