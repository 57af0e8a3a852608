#pragma once
// Declared settings of one chart: view, titles, axis titles and the three
// series. Each chart window's unit holds one of these as plain data.
#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace uriage::chart {

enum class View { Flat, ThreeD };
enum class VerticalAxis { Left, Right };
enum class MarkerShape { Rectangle, Circle };

struct FontSpec {
    int pixelHeight = 12;
    bool bold = false;
};

struct LinePen {
    QColor color = Qt::black;
    int width = 1;
    Qt::PenStyle style = Qt::SolidLine;
};

struct MarkerSpec {
    MarkerShape shape = MarkerShape::Rectangle;
    int halfWidth = 4;                // the default half-size is 4 (9 x 9 pixels)
    int halfHeight = 4;
    std::optional<QColor> fill;       // unset: the series colour
};

// What a value label shows: the point's label text (or the formatted value
// when the point has none), or always the formatted value.
enum class ValueLabelStyle { LabelText, Value };

struct ValueLabels {
    bool shown = false;
    int connectorLength = 8;
    ValueLabelStyle style = ValueLabelStyle::LabelText; // windows showing labels set Value
    FontSpec font{12, false};         // in the chart font, black
};

struct SeriesConfig {
    QString name;                     // "Series1"
    QString title;                    // "保険料金"
    QColor color;                     // series colour
    QString xColumn;                  // 施術日 or 月
    QString yColumn;                  // "保険料金合計の合計", "COUNT(*)", "保険外料金の合計"
    QString labelColumn;              // empty: no label column
    bool xDateTime = true;
    VerticalAxis axis = VerticalAxis::Left;
    LinePen pen;                      // the window's pen, or the default black 1
    MarkerSpec marker;
    ValueLabels valueLabels;
};

struct AxisTitle {
    QString caption;
    FontSpec font;
    int size = 0;                     // 0: measured from the caption
};

// The back wall: outlined in black; filled with its colour only when its
// brush is not clear (the windows set white with a clear brush).
struct BackWall {
    QColor color = Qt::white;
    bool filled = false;
};

struct ChartConfig {
    View view = View::ThreeD;
    QStringList titleLines;           // centred at the top
    FontSpec titleFont{16, true};
    AxisTitle bottomTitle;
    AxisTitle leftTitle;
    AxisTitle rightTitle;
    std::array<SeriesConfig, 3> series;
    FontSpec labelFont{12, false};    // axis labels, black, in the chart font
    FontSpec legendFont{12, false};   // legend entries, black, in the chart font
    BackWall backWall;
};

// Colours named by the window settings.
namespace colors {
inline const QColor red{255, 0, 0};
inline const QColor green{0, 128, 0};
inline const QColor lime{0, 255, 0};
inline const QColor yellow{255, 255, 0};
inline const QColor blue{0, 0, 255};
inline const QColor teal{0, 128, 128};
inline const QColor white{255, 255, 255};
inline const QColor black{0, 0, 0};
inline const QColor grey{128, 128, 128};
inline const QColor paleYellow{255, 255, 128};
} // namespace colors

} // namespace uriage::chart
