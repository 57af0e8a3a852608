#include "chart/layout/chart_layout.h"

#include "chart/axes/round.h"
#include "chart/model/chart_model.h"

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

PixelRect insideMargins(const PixelRect& a)
{
    return {a.left + percentOf(a.width(), kMarginLeftRight), a.top + percentOf(a.height(), kMarginTopBottom),
            a.right - percentOf(a.width(), kMarginLeftRight), a.bottom - percentOf(a.height(), kMarginTopBottom)};
}

// Title lines, each centred between R's edges, above R.
void placeTitle(ChartLayout& layout, const QStringList& lines, const TextMeasurer& font, PixelRect& r)
{
    layout.titleLineHeight = font.lineHeight();
    for (int k = 0; k < lines.size(); ++k) {
        const QString& text = lines[k];
        layout.title.push_back({text, (r.left + r.right) / 2 - font.width(text) / 2, r.top + k * layout.titleLineHeight});
    }
    if (!lines.isEmpty())
        r.top += int(lines.size()) * layout.titleLineHeight + kTitleGap;
}

// The depth of the 3-D plot box, taken off R's right and top.
void placeDepth(ChartLayout& layout, int activeSeries, PixelRect& r)
{
    layout.slotWidth = roundPixel(r.width() * kDepthPerSeries / 1000.0);
    layout.depth = activeSeries * layout.slotWidth;
    r.right -= layout.depth;
    r.top += layout.depth;
}

// Title, label and tick bands of the bottom axis, taken off R's bottom.
void placeBottomBands(AxisLayout& bottom, const AxisTitleInput& title, const ChartMeasures& measures, PixelRect& r)
{
    if (!bottom.caption.isEmpty())
        r.bottom -= title.size != 0 ? title.size : measures.axisTitle(Axis::Bottom).lineHeight();
    bottom.titleReference = r.bottom;
    r.bottom -= measures.labels.lineHeight();
    bottom.labelReference = r.bottom;
    r.bottom -= kTickBand;
}

// Title, label and tick bands of a vertical axis, taken off R's left or right
// edge; the label band's width needs the axis' scale, worked out here.
void placeVerticalBands(AxisLayout& axis, const LayoutInput& input, const ChartMeasures& measures,
                        const RegionalSettings& regional, PixelRect& r)
{
    const bool left = axis.side == Axis::Left;
    const int outward = left ? 1 : -1; // the left axis' bands grow R.left
    int& edge = left ? r.left : r.right;
    if (!axis.caption.isEmpty()) {
        const int size = input.axisTitles[axis.side].size;
        edge += outward * (size != 0 ? size : measures.axisTitle(axis.side).width(axis.caption));
    }
    axis.titleReference = edge;
    axis.scale = scaleAxis(input.axes[axis.side], r.bottom, r.top, measures.labels, regional);
    edge += outward * verticalLabelBand(axis.scale, measures.labels);
    axis.labelReference = edge;
    edge += outward * kTickBand;
}

// A tick at every label, minor ticks between them.
void placeTicks(AxisLayout& axis)
{
    for (const AxisLabel& label : axis.scale.labels)
        axis.ticks.push_back(label.pixel);
    axis.minorTicks = minorTicks(axis.ticks, axis.scale.map.start(), axis.scale.map.end());
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
    for (Axis axis : kAllAxes) {
        input.axes[axis] = axisInput(model, axis);
        // Axes held by zoom or scroll keep their fixed range instead of the automatic one.
        input.axes[axis].fixedRange = model.zoomState().fixed[axis];
    }
    return input;
}

ChartLayout layoutChart(const LayoutInput& input, const ChartMeasures& measures, const RegionalSettings& regional)
{
    ChartLayout layout;
    layout.area = input.area;
    layout.view = input.view;

    // R starts inside the margins; legend, title, depth and the axes' bands
    // each take their share off it, in this order.
    PixelRect r = insideMargins(input.area);
    layout.legend = placeLegend(input.legendEntries, input.area, r, measures.legend);
    if (layout.legend.shown)
        r.right = layout.legend.box.left - percentOf(r.width(), kLegendGapPercent);
    placeTitle(layout, input.titleLines, measures.title, r);
    if (input.view == View::ThreeD)
        placeDepth(layout, input.activeSeries, r);

    for (Axis axis : kAllAxes) {
        layout.axes[axis].side = axis;
        layout.axes[axis].shown = input.axes[axis].shown;
        layout.axes[axis].caption = input.axisTitles[axis].caption;
    }
    AxisLayout& bottom = layout.axes[Axis::Bottom];
    if (bottom.shown)
        placeBottomBands(bottom, input.axisTitles[Axis::Bottom], measures, r);
    // The vertical axes' length is settled once the bottom bands are off.
    for (Axis axis : {Axis::Left, Axis::Right})
        if (layout.axes[axis].shown)
            placeVerticalBands(layout.axes[axis], input, measures, regional, r);
    if (bottom.shown)
        bottom.scale = scaleAxis(input.axes[Axis::Bottom], r.left, r.right, measures.labels, regional);

    layout.plot = r;
    for (AxisLayout& axis : layout.axes)
        if (axis.shown)
            placeTicks(axis);
    if (input.view == View::ThreeD)
        layout.axes[Axis::Right].depthShift = layout.depth;
    return layout;
}

} // namespace uriage::chart
