#pragma once
// The texts of axis labels: "#,##0.###" on a number axis, the short date or
// the short time on a date-time axis.
#include "common/regional_settings.h"

#include <QString>

namespace uriage::chart {

struct LabelFormat {
    bool dateTime = false;
    double range = 0;               // axis maximum - minimum, picks date or time
    RegionalSettings regional;

    QString text(double value) const;
};

// A day number (days since 30 December 1899, fraction = time of day) in the
// short date format; empty for a negative value or one beyond year 9999.
QString shortDateText(double dayNumber, const RegionalSettings& regional);
// The time of day of a day number in the short time format; empty as above.
QString shortTimeText(double dayNumber, const RegionalSettings& regional);

} // namespace uriage::chart
