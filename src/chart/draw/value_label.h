#pragma once
// Value labels: the text a point's label shows (in the number format of
// the axes), and the placement of its box and connector above the point.
#include "chart/axes/number_format.h"
#include "chart/axes/text_measurer.h"
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_config.h"
#include "common/regional_settings.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

namespace uriage::chart {

// The text shown for point i of a series (null points show the value 0).
QString valueLabelText(const Series& series, std::size_t index, const RegionalSettings& regional);

// The font value labels are written in.
QFont valueLabelFont(const ValueLabels& labels);

struct ValueLabelBox {
    QStringList lines;
    QRect box;          // w by h pixels, frame included
    QPoint anchor;      // the point, moved to the front depth of the slot
    int connectorLength = 0;
};

// w = text width + width of "W" + 2 x frame, h = lines x line height + 2 x frame;
// left x - w / 2, top y - h + 1 - L (L the connector length).
ValueLabelBox valueLabelBox(QPoint point, const QString& text, const TextMeasurer& font, int connectorLength,
                            DepthSlot slot);

// The connector is white unless that is the point's or the background's colour.
QColor connectorColor(const QColor& pointColor, const QColor& background);

// Connector, then the pale yellow box with its black frame, then the text
// centred on the box, without background.
void drawValueLabel(QPainter& painter, const ValueLabelBox& label, const QFont& font, const QColor& connector);

} // namespace uriage::chart
