#pragma once
// Where everything of a chart goes, worked out before anything is painted:
// margins, legend, title lines, the 3-D depth, the bands of each axis and the
// plot rectangle, with the axes' ranges and labels.
#include "chart/axes/axis_scale.h"
#include "chart/axes/text_measurer.h"
#include "chart/layout/pixel_rect.h"
#include "chart/model/axis.h"
#include "chart/model/chart_config.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace uriage::chart {

// The text measuring of every font the layout uses.
struct ChartMeasures {
    const TextMeasurer& title;
    const TextMeasurer& legend;
    const TextMeasurer& labels;
    const TextMeasurer& bottomTitle;
    const TextMeasurer& leftTitle;
    const TextMeasurer& rightTitle;

    const TextMeasurer& axisTitle(Axis axis) const
    {
        return axis == Axis::Bottom ? bottomTitle : axis == Axis::Left ? leftTitle : rightTitle;
    }
};

struct AxisTitleInput {
    QString caption;
    int size = 0;                     // 0: measured from the caption
};

struct LayoutInput {
    PixelRect area;                   // the chart's client rectangle
    View view = View::ThreeD;
    QStringList titleLines;
    QStringList legendEntries;        // titles of the active series, in order
    int activeSeries = 3;
    PerAxis<AxisTitleInput> axisTitles;
    PerAxis<AxisInput> axes;
};

LayoutInput layoutInput(const ChartModel& model, const QRect& area);

struct LegendRow {
    int series = 0;                   // index of the series it stands for
    QString text;
    int textX = 0;
    int textY = 0;                    // top of the text
    QRect colorBox;                   // from its left/top to its right/bottom pixel
};

struct LegendGeometry {
    bool shown = false;
    PixelRect box;                    // the white box; its frame lies just outside
    int lineHeight = 0;
    int colorBoxWidth = 0;
    std::vector<LegendRow> rows;
};

struct TitleLine {
    QString text;
    int x = 0;                        // left end
    int y = 0;                        // top
};

struct AxisLayout {
    Axis side = Axis::Bottom;
    bool shown = false;
    AxisScale scale;
    int depthShift = 0;               // D for the right axis in the 3-D view, else 0
    QString caption;
    int titleReference = 0;           // inner edge of the title band
    int labelReference = 0;           // inner edge of the label band
    std::vector<int> ticks;           // along the axis, before the depth shift
    std::vector<int> minorTicks;
};

struct ChartLayout {
    PixelRect area;
    View view = View::ThreeD;
    PixelRect plot;                   // R: the plot rectangle (front face in 3-D)
    int slotWidth = 0;                // W
    int depth = 0;                    // D
    LegendGeometry legend;
    std::vector<TitleLine> title;
    int titleLineHeight = 0;
    PerAxis<AxisLayout> axes;

    const AxisLayout& bottom() const { return axes[Axis::Bottom]; }
    const AxisLayout& left() const { return axes[Axis::Left]; }
    const AxisLayout& right() const { return axes[Axis::Right]; }
};

ChartLayout layoutChart(const LayoutInput& input, const ChartMeasures& measures, const RegionalSettings& regional);

// Rounds percent % of a length to the nearest pixel.
int percentOf(int length, int percent);

} // namespace uriage::chart
