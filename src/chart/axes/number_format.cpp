#include "chart/axes/number_format.h"

#include <cmath>

namespace uriage::chart {

namespace {

QString groupedDigits(const QString& digits, QChar separator)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

QString formatValue(double value, const RegionalSettings& regional)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NaN") : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
    // Fixed notation with three decimals rounds to the last digit shown.
    QString fixed = QString::number(std::fabs(value), 'f', 3);
    QString integral = fixed.section(QLatin1Char('.'), 0, 0);
    QString fraction = fixed.section(QLatin1Char('.'), 1, 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString text = groupedDigits(integral, regional.thousandsSeparator);
    if (!fraction.isEmpty())
        text += regional.decimalSeparator + fraction;
    const bool zero = integral == QLatin1String("0") && fraction.isEmpty();
    if (value < 0 && !zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace uriage::chart
