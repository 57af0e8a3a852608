#include "chart/axes/label_text.h"

#include "chart/axes/number_format.h"
#include "common/day_number.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cmath>
#include <optional>

namespace uriage::chart {

namespace {

constexpr double kLastDayNumber = 2958465.0; // 31 December 9999
constexpr qint64 kMillisecondsPerDay = 86400000;

struct Moment {
    QDate date;
    QTime time;
};

std::optional<Moment> momentOf(double dayNumber)
{
    if (!(dayNumber >= 0) || dayNumber > kLastDayNumber + 1)
        return std::nullopt;
    double whole = std::floor(dayNumber);
    qint64 ms = std::llround((dayNumber - whole) * double(kMillisecondsPerDay));
    if (ms >= kMillisecondsPerDay) {
        whole += 1;
        ms -= kMillisecondsPerDay;
    }
    return Moment{dateOfDayNumber(qint64(whole)), QTime(0, 0).addMSecs(int(ms))};
}

} // namespace

QString shortDateText(double dayNumber, const RegionalSettings& regional)
{
    const auto moment = momentOf(dayNumber);
    return moment ? QLocale::system().toString(moment->date, regional.shortDateFormat) : QString();
}

QString shortTimeText(double dayNumber, const RegionalSettings& regional)
{
    const auto moment = momentOf(dayNumber);
    return moment ? QLocale::system().toString(moment->time, regional.shortTimeFormat) : QString();
}

QString LabelFormat::text(double value) const
{
    if (!dateTime)
        return formatValue(value, regional);
    return range > 1 ? shortDateText(value, regional) : shortTimeText(value, regional);
}

} // namespace uriage::chart
