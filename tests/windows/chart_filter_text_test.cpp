// The filter text is the plain concatenation of what was typed; an empty
// required box means the button does nothing.
#include "windows/chart_filter_text.h"

#include <gtest/gtest.h>

namespace uriage {
namespace {

struct FilterCase {
    const char* name;
    ChartWindowKind kind;
    QString year;
    QString month;
    std::optional<QString> expected;
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }

class ChartFilterText : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ChartFilterText, IsBuiltExactlyAsTyped)
{
    const FilterCase& c = GetParam();
    EXPECT_EQ(chartFilterText(c.kind, c.year, c.month), c.expected);
}

constexpr auto PerDay = ChartWindowKind::PerDay;
constexpr auto PerMonth = ChartWindowKind::PerMonth;

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartFilterText,
    ::testing::Values(
        FilterCase{"DayYearAndMonth", PerDay, "2010", "4", QStringLiteral("年=2010 and 月=4")},
        FilterCase{"MonthYearOnly", PerMonth, "2010", "", QStringLiteral("年=2010")},
        FilterCase{"MonthIgnoresAMonthText", PerMonth, "2010", "4", QStringLiteral("年=2010")},
        FilterCase{"BlanksKept", PerDay, " 2010", "4 ", QStringLiteral("年= 2010 and 月=4 ")},
        FilterCase{"FullWidthDigitsKept", PerMonth, QStringLiteral("２０１０"), "", QStringLiteral("年=２０１０")},
        FilterCase{"AnythingGoesUnquoted", PerDay, "2005 or 1=1", "'x'", QStringLiteral("年=2005 or 1=1 and 月='x'")},
        FilterCase{"ABlankIsNotEmpty", PerDay, " ", " ", QStringLiteral("年=  and 月= ")},
        FilterCase{"DayEmptyYear", PerDay, "", "4", std::nullopt},
        FilterCase{"DayEmptyMonth", PerDay, "2010", "", std::nullopt},
        FilterCase{"DayBothEmpty", PerDay, "", "", std::nullopt},
        FilterCase{"MonthEmptyYear", PerMonth, "", "4", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage
