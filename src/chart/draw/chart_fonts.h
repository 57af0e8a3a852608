#pragma once
// The fonts a chart writes in, all of the chart font family, and their
// measurers for the layout.
#include "chart/model/chart_config.h"
#include "chart/layout/chart_layout.h"
#include "chart/axes/text_measurer.h"

#include <QFont>

namespace uriage::chart {

// A font of the chart font family, drawn without antialiasing.
QFont chartFont(const FontSpec& setting);

struct ChartFonts {
    QFont title;
    QFont legend;
    QFont labels;
    QFont bottomTitle;
    QFont leftTitle;
    QFont rightTitle;
};

ChartFonts chartFonts(const ChartConfig& config);

// Measurers over the fonts, kept together for one layout.
class ChartFontMeasures {
public:
    explicit ChartFontMeasures(const ChartFonts& fonts);
    ChartMeasures measures() const;

private:
    FontTextMeasurer title_;
    FontTextMeasurer legend_;
    FontTextMeasurer labels_;
    FontTextMeasurer bottomTitle_;
    FontTextMeasurer leftTitle_;
    FontTextMeasurer rightTitle_;
};

} // namespace uriage::chart
