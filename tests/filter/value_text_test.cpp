// Day numbers and the texts of values shared by the filter, the query's fields
// and the axis labels.
#include "common/day_number.h"
#include "common/value_text.h"

#include <gtest/gtest.h>

namespace uriage {
namespace {

TEST(DayNumberTest, CountsDaysFromTheThirtiethOfDecember1899)
{
    const struct {
        qint64 dayNumber;
        QDate date;
    } cases[] = {
        {-1, QDate(1899, 12, 29)}, {0, QDate(1899, 12, 30)},   {2, QDate(1900, 1, 1)},
        {60, QDate(1900, 2, 28)},  {61, QDate(1900, 3, 1)},    {38412, QDate(2005, 3, 1)},
        {2958465, QDate(9999, 12, 31)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dateOfDayNumber(c.dayNumber), c.date) << c.dayNumber;
        EXPECT_EQ(dayNumberOf(c.date), c.dayNumber) << c.dayNumber;
    }
}

TEST(ValueTextTest, DecimalsAndDatesFollowTheRegionalSettings)
{
    RegionalSettings japanese = RegionalSettings::japanese();
    RegionalSettings comma = japanese;
    comma.decimalSeparator = ',';
    comma.shortDateFormat = QStringLiteral("d.M.yy");
    const struct {
        double value;
        const RegionalSettings& regional;
        const char* text;
    } decimals[] = {
        {1500.5, japanese, "1500.5"}, {1500.5, comma, "1500,5"},   {12345678.0, japanese, "12345678"},
        {0.1 + 0.2, japanese, "0.3"}, {-0.25, comma, "-0,25"},     {1e20, japanese, "1e+20"},
    };
    for (const auto& c : decimals)
        EXPECT_EQ(decimalText(c.value, c.regional), QString::fromUtf8(c.text)) << c.value;
    EXPECT_EQ(dateText(38412, japanese), QStringLiteral("2005/03/01"));
    EXPECT_EQ(dateText(38412, comma), QStringLiteral("1.3.05"));
}

} // namespace
} // namespace uriage
