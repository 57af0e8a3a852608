#pragma once
// Dates as day numbers, the way the receipt program's date values count:
// whole days since 30 December 1899 (day 0; 1 January 1900 is day 2).
#include <QDate>

namespace uriage {

// The Julian day of 30 December 1899.
inline constexpr qint64 kDayNumberOriginJulianDay = 2415019;

inline QDate dateOfDayNumber(qint64 dayNumber) { return QDate::fromJulianDay(kDayNumberOriginJulianDay + dayNumber); }

// The day number of a valid date.
inline qint64 dayNumberOf(const QDate& date) { return date.toJulianDay() - kDayNumberOriginJulianDay; }

} // namespace uriage
