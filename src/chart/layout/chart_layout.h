#pragma once
// Where everything of a chart goes, worked out before anything is painted:
// margins, legend, title lines, the 3-D depth, the bands of each axis and the
// plot rectangle, with the axes' ranges and labels.
#include "chart/axes/axis_scale.h"
#include "chart/model/chart_config.h"
#include "chart/axes/text_measurer.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace uriage::chart {

// A rectangle by its edge coordinates, as the layout moves them.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// The text measuring of every font the layout uses.
struct ChartMeasures {
    const TextMeasurer& title;
    const TextMeasurer& legend;
    const TextMeasurer& labels;
    const TextMeasurer& bottomTitle;
    const TextMeasurer& leftTitle;
    const TextMeasurer& rightTitle;
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
    std::array<AxisTitleInput, 3> axisTitles; // bottom, left, right
    std::array<AxisInput, 3> axes;            // bottom, left, right
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
    AxisSide side = AxisSide::Bottom;
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
    std::array<AxisLayout, 3> axes;   // bottom, left, right

    const AxisLayout& bottom() const { return axes[0]; }
    const AxisLayout& left() const { return axes[1]; }
    const AxisLayout& right() const { return axes[2]; }
};

ChartLayout layoutChart(const LayoutInput& input, const ChartMeasures& measures, const RegionalSettings& regional);

// Rounds percent % of a length to the nearest pixel.
int percentOf(int length, int percent);

} // namespace uriage::chart
