#include "chart/draw/chart_fonts.h"

namespace uriage::chart {

void installChartFontSubstitute() { QFont::insertSubstitution(kChartFontFamily, QStringLiteral("IPAPMincho")); }

QFont chartFont(const FontSpec& setting)
{
    QFont font(kChartFontFamily);
    font.setPixelSize(setting.pixelHeight);
    font.setBold(setting.bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

ChartFonts chartFonts(const ChartConfig& config)
{
    return {chartFont(config.titleFont),       chartFont(config.legendFont),     chartFont(config.labelFont),
            chartFont(config.bottomTitle.font), chartFont(config.leftTitle.font), chartFont(config.rightTitle.font)};
}

ChartFontMeasures::ChartFontMeasures(const ChartFonts& fonts)
    : title_(chartTextMeasurer(fonts.title)), legend_(chartTextMeasurer(fonts.legend)),
      labels_(chartTextMeasurer(fonts.labels)), bottomTitle_(chartTextMeasurer(fonts.bottomTitle)),
      leftTitle_(chartTextMeasurer(fonts.leftTitle)), rightTitle_(chartTextMeasurer(fonts.rightTitle))
{
}

ChartMeasures ChartFontMeasures::measures() const
{
    return {*title_, *legend_, *labels_, *bottomTitle_, *leftTitle_, *rightTitle_};
}

} // namespace uriage::chart
