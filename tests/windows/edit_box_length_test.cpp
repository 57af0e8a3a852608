// Edit boxes take texts of any length: a long text reaches the filter whole,
// not cut at the toolkit's default maximum.
#include "chart_window_fixture.h"

namespace uriage::testing {
namespace {

class LongEditText : public ChartWindowTest, public ::testing::WithParamInterface<QString> {};

TEST_P(LongEditText, ReachesTheFilterWhole)
{
    auto window = makeWindow(GetParam());
    ASSERT_NE(window, nullptr);
    const bool perDay = window->Edit2 != nullptr;
    // Longer than the 32,767 characters a line edit takes by default.
    const QString blanks(40000, QChar(' '));
    const QString year = blanks + QStringLiteral("2005");
    const QString month = blanks + QStringLiteral("3");

    filter(*window, year, month); // typeInto checks that each box holds the whole text
    EXPECT_EQ(window->Edit1->text().size(), 40004);
    EXPECT_EQ(window->query().filterText(), perDay ? QStringLiteral("年=") + year + QStringLiteral(" and 月=") + month
                                                   : QStringLiteral("年=") + year);
    EXPECT_EQ(errors.size(), 0u);
    EXPECT_TRUE(window->query().isOpen());
    // Two days of March 2005, or March and April 2005, in each of the three series.
    EXPECT_EQ(pointCount(*window), 3u * 2u);
}

INSTANTIATE_TEST_SUITE_P(Windows, LongEditText, ::testing::ValuesIn(chartWindowClassNames().toVector()),
                         [](const auto& info) { return info.param.toStdString(); });

} // namespace
} // namespace uriage::testing
