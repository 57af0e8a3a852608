#pragma once
// The texts values show wherever the program writes them as text: the
// query's fields, what the filter's LIKE compares, the date labels of an axis.
// Whole numbers are their plain digits.
#include "common/regional_settings.h"

#include <QLocale>
#include <QString>

namespace uriage {

// Up to 15 significant digits, with the regional decimal separator.
QString decimalText(double value, const RegionalSettings& regional);

// The date of a day number in the regional short date format; the names of
// months and days, where the format has them, as `names` writes them.
QString dateText(qint64 dayNumber, const RegionalSettings& regional, const QLocale& names = QLocale::c());

} // namespace uriage
