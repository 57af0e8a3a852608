#include "windows/chart_filter_text.h"

namespace uriage {

std::optional<QString> chartFilterText(ChartWindowKind kind, const QString& year, const QString& month)
{
    if (year.isEmpty())
        return std::nullopt;
    if (kind == ChartWindowKind::PerMonth)
        return QStringLiteral("年=") + year;
    if (month.isEmpty())
        return std::nullopt;
    return QStringLiteral("年=") + year + QStringLiteral(" and 月=") + month;
}

} // namespace uriage
