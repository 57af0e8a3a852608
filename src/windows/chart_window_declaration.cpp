#include "windows/chart_window_declaration.h"

namespace uriage {
namespace {

struct SharedSeries {
    const char* name;
    QString title;
    chart::VerticalAxis axis;
    QString yColumn;
};

const std::array<SharedSeries, 3>& sharedSeries()
{
    static const std::array<SharedSeries, 3> series{{
        {"Series1", QStringLiteral("保険料金"), chart::VerticalAxis::Left, QStringLiteral("保険料金合計の合計")},
        {"Series2", QStringLiteral("患者数"), chart::VerticalAxis::Right, QStringLiteral("COUNT(*)")},
        {"Series3", QStringLiteral("保険外料金"), chart::VerticalAxis::Left, QStringLiteral("保険外料金の合計")},
    }};
    return series;
}

chart::SeriesConfig seriesConfigOf(const SharedSeries& shared, const SeriesDeclaration& declared,
                                   const QString& xColumn, bool xDateTime)
{
    chart::SeriesConfig config;
    config.name = QString::fromLatin1(shared.name);
    config.title = shared.title;
    config.color = declared.color;
    config.xColumn = xColumn;
    config.yColumn = shared.yColumn;
    config.labelColumn = declared.labelColumn;
    config.xDateTime = xDateTime;
    config.axis = shared.axis;
    config.pen = declared.pen.value_or(chart::LinePen{});
    config.marker = declared.marker;
    if (declared.valueLabelConnector) {
        config.valueLabels.shown = true;
        config.valueLabels.style = chart::ValueLabelStyle::Value;
        config.valueLabels.connectorLength = *declared.valueLabelConnector;
    }
    return config;
}

} // namespace

chart::ChartConfig chartConfigOf(ChartWindowKind kind, const ChartDeclaration& declaration)
{
    const bool perDay = kind == ChartWindowKind::PerDay;
    const QString xColumn = perDay ? QStringLiteral("施術日") : QStringLiteral("月");

    chart::ChartConfig config;
    config.view = declaration.view;
    config.titleLines = declaration.titleLines;
    config.titleFont = {declaration.titleHeight, true};
    config.bottomTitle = {perDay ? QStringLiteral("日") : QStringLiteral("月"), {declaration.bottomTitleHeight, true}, 0};
    config.leftTitle = {QStringLiteral("円"), {declaration.leftTitleHeight, declaration.leftTitleBold},
                        declaration.leftTitleSize};
    config.rightTitle = {QStringLiteral("患者数"), {declaration.rightTitleHeight, true}, 0};
    for (std::size_t i = 0; i < config.series.size(); ++i)
        config.series[i] = seriesConfigOf(sharedSeries()[i], declaration.series[i], xColumn, declaration.xDateTime);
    config.labelFont = {12, false};
    config.legendFont = {12, false};
    config.backWall = {chart::colors::white, false};
    return config;
}

} // namespace uriage
