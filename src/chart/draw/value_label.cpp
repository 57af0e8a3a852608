#include "chart/draw/value_label.h"

#include "chart/draw/chart_fonts.h"
#include "chart/draw/text_drawing.h"
#include "chart/model/series.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace uriage::chart {

namespace {

constexpr int kFrameWidth = 1;

} // namespace

QString valueLabelText(const Series& series, std::size_t index, const RegionalSettings& regional)
{
    const ValueLabels& labels = series.config().valueLabels;
    if (labels.style == ValueLabelStyle::LabelText && !series.label(index).isEmpty())
        return series.label(index);
    return formatValue(series.isNull(index) ? 0.0 : series.y(index), regional);
}

QFont valueLabelFont(const ValueLabels& labels)
{
    return chartFont(labels.font); // crisp like the axis labels and the legend
}

ValueLabelBox valueLabelBox(QPoint point, const QString& text, const TextMeasurer& font, int connectorLength,
                            DepthSlot slot)
{
    ValueLabelBox label;
    label.lines = text.split(QLatin1Char('\n'));
    int textWidth = 0;
    for (const QString& line : label.lines)
        textWidth = std::max(textWidth, font.width(line));
    const int w = textWidth + font.width(QStringLiteral("W")) + 2 * kFrameWidth;
    const int h = int(label.lines.size()) * font.lineHeight() + 2 * kFrameWidth;
    label.anchor = atDepth(point, slot.front);
    label.connectorLength = connectorLength;
    label.box = QRect(label.anchor.x() - w / 2, label.anchor.y() - h + 1 - connectorLength, w, h);
    return label;
}

QColor connectorColor(const QColor& pointColor, const QColor& background)
{
    const QColor connector = colors::white;
    if (connector.rgb() == pointColor.rgb() || connector.rgb() == background.rgb())
        return background.rgb() == colors::black.rgb() ? colors::white : colors::black;
    return connector;
}

void drawValueLabel(QPainter& painter, const ValueLabelBox& label, const QFont& font, const QColor& connector)
{
    if (label.connectorLength > 0) {
        painter.setPen(QPen(connector, 1));
        painter.drawLine(label.anchor, QPoint(label.anchor.x(), label.anchor.y() - label.connectorLength));
    }
    const QRect& box = label.box;
    painter.setPen(QPen(colors::black, kFrameWidth));
    painter.setBrush(colors::paleYellow);
    painter.drawRect(box.left(), box.top(), box.width() - 1, box.height() - 1);

    painter.setFont(font);
    painter.setPen(colors::black);
    painter.setBrush(Qt::NoBrush);
    // Centred by the font's own widths, whatever measuring the layout used.
    const FontTextMeasurer measure(font);
    const int centre = box.left() + box.width() / 2;
    int top = box.top() + kFrameWidth;
    for (const QString& line : label.lines) {
        drawTextAt(painter, centre - measure.width(line) / 2, top, line);
        top += measure.lineHeight();
    }
}

} // namespace uriage::chart
