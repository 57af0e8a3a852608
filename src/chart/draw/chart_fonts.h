#pragma once
// The fonts a chart writes in, all of the chart font family, and their
// measurers for the layout.
#include "chart/axes/text_measuring.h"
#include "chart/layout/chart_layout.h"
#include "chart/model/chart_config.h"

#include <QFont>
#include <QString>
#include <memory>

namespace uriage::chart {

// The family every chart text is written in, requested by its Japanese name
// (the program substitutes a stand-in where it is missing).
inline const QString kChartFontFamily = QStringLiteral("ＭＳ Ｐ明朝");

// Call once after the application object exists: where the chart font is
// missing, its metric-compatible stand-in is drawn.
void installChartFontSubstitute();

// A font of the chart font family at the setting's pixel height and weight,
// drawn without antialiasing.
QFont chartFont(const FontSpec& setting);

struct ChartFonts {
    QFont title;
    QFont legend;
    QFont labels;
    QFont bottomTitle;
    QFont leftTitle;
    QFont rightTitle;

    const QFont& axisTitle(Axis axis) const
    {
        return axis == Axis::Bottom ? bottomTitle : axis == Axis::Left ? leftTitle : rightTitle;
    }
};

ChartFonts chartFonts(const ChartConfig& config);

// Measurers over the fonts from the chart's text measuring source, kept
// together for one layout.
class ChartFontMeasures {
public:
    explicit ChartFontMeasures(const ChartFonts& fonts);
    ChartMeasures measures() const;

private:
    std::unique_ptr<TextMeasurer> title_;
    std::unique_ptr<TextMeasurer> legend_;
    std::unique_ptr<TextMeasurer> labels_;
    std::unique_ptr<TextMeasurer> bottomTitle_;
    std::unique_ptr<TextMeasurer> leftTitle_;
    std::unique_ptr<TextMeasurer> rightTitle_;
};

} // namespace uriage::chart
