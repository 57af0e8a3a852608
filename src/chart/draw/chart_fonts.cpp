#include "chart/draw/chart_fonts.h"

#include "chart/axes/per_font_cache.h"

#include <map>
#include <utility>

namespace uriage::chart {

namespace {

// One font object per setting, kept: its copies share the font that its
// first use looked up, where a new object would look it up again on every
// frame. Emptied when the fonts change.
std::map<std::pair<int, bool>, QFont> keptFonts;
FontChangeWatch keptFontsWatch([] { keptFonts.clear(); });

QFont newChartFont(const FontSpec& setting)
{
    QFont font(kChartFontFamily);
    font.setPixelSize(setting.pixelHeight);
    font.setBold(setting.bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

void installChartFontSubstitute()
{
    QFont::insertSubstitution(kChartFontFamily, QStringLiteral("IPAPMincho"));
    keptFonts.clear();
}

QFont chartFont(const FontSpec& setting)
{
    if (!onApplicationThread())
        return newChartFont(setting);
    keptFontsWatch.watch();
    const std::pair<int, bool> key(setting.pixelHeight, setting.bold);
    auto found = keptFonts.find(key);
    if (found == keptFonts.end())
        found = keptFonts.emplace(key, newChartFont(setting)).first;
    return found->second;
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
