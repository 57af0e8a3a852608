#include "common/value_text.h"

#include "common/day_number.h"

namespace uriage {

QString decimalText(double value, const RegionalSettings& regional)
{
    QString text = QString::number(value, 'g', 15);
    if (regional.decimalSeparator != QChar('.'))
        text.replace(QChar('.'), regional.decimalSeparator);
    return text;
}

QString dateText(qint64 dayNumber, const RegionalSettings& regional, const QLocale& names)
{
    return names.toString(dateOfDayNumber(dayNumber), regional.shortDateFormat);
}

} // namespace uriage
