// The chart-window state table: Unfiltered, Showing and Failed, driven by the
// filter button, the back button and the close box through real clicks.
#include "chart_window_fixture.h"

#include <QCursor>
#include <QGuiApplication>

namespace uriage::testing {
namespace {

// Day numbers of the fixture's treatment days.
constexpr double k20050301 = 38412;
constexpr double k20050302 = 38413;

struct Snapshot {
    bool open;
    QString filterText;
    bool filtered;
    std::size_t points;
};

Snapshot snapshot(ChartWindow& w)
{
    return {w.query().isOpen(), w.query().filterText(), w.query().filtered(), pointCount(w)};
}

void expectState(ChartWindow& w, const Snapshot& expected)
{
    const Snapshot s = snapshot(w);
    EXPECT_EQ(s.open, expected.open);
    EXPECT_EQ(s.filterText, expected.filterText);
    EXPECT_EQ(s.filtered, expected.filtered);
    EXPECT_EQ(s.points, expected.points);
}

class EveryChartWindow : public ChartWindowTest, public ::testing::WithParamInterface<QString> {};

TEST_P(EveryChartWindow, GoesThroughUnfilteredShowingFailedAndBack)
{
    auto window = makeWindow(GetParam());
    ASSERT_NE(window, nullptr);
    const bool perDay = window->Edit2 != nullptr;
    const QString queryName = window->query().componentName();
    const QString shownFilter = perDay ? QStringLiteral("年=2005 and 月=3") : QStringLiteral("年=2005");
    const std::size_t shownPoints = 3 * 2; // two days of March 2005, or March and April 2005

    // Unfiltered: nothing read yet; an empty box does nothing.
    expectState(*window, {false, QString(), false, 0});
    click(window->Button1);
    expectState(*window, {false, QString(), false, 0});

    // Unfiltered -> Showing.
    filter(*window, QStringLiteral("2005"), QStringLiteral("3"));
    expectState(*window, {true, shownFilter, true, shownPoints});

    // Showing, an empty box: unchanged, the chart kept.
    typeInto(window->Edit1, QString());
    click(window->Button1);
    expectState(*window, {true, shownFilter, true, shownPoints});

    // Showing -> Failed: the error box shows the query's message.
    filter(*window, QStringLiteral("abc"), QStringLiteral("3"));
    const QString failedFilter = perDay ? QStringLiteral("年=abc and 月=3") : QStringLiteral("年=abc");
    expectState(*window, {false, failedFilter, true, 0});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], queryName + QStringLiteral(": 項目 'abc' が見つかりません"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("abc")) << "the failing text stays";

    // Failed -> Failed, then Failed -> Showing after correcting the text.
    click(window->Button1);
    expectState(*window, {false, failedFilter, true, 0});
    EXPECT_EQ(errors.size(), 2u);
    filter(*window, QStringLiteral("2005"), QStringLiteral("3"));
    expectState(*window, {true, shownFilter, true, shownPoints});

    // A valid filter that passes no rows: open, empty, no message.
    filter(*window, QStringLiteral("1999"), QStringLiteral("3"));
    expectState(*window, {true, perDay ? QStringLiteral("年=1999 and 月=3") : QStringLiteral("年=1999"), true, 0});
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "every hourglass was taken back";
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryChartWindow, ::testing::ValuesIn(chartWindowClassNames().toVector()),
                         [](const auto& info) { return info.param.toStdString(); });

TEST_F(ChartWindowTest, PerDayWindowNeedsBothBoxes)
{
    auto window = makeWindow(QStringLiteral("TForm4"));
    typeInto(window->Edit1, QStringLiteral("2005"));
    click(window->Button1);
    typeInto(window->Edit1, QString());
    typeInto(window->Edit2, QStringLiteral("3"));
    click(window->Button1);
    expectState(*window, {false, QString(), false, 0});
    EXPECT_TRUE(errors.empty());
}

TEST_F(ChartWindowTest, PerDayChartHoldsOnePointPerDayInEachSeries)
{
    auto window = makeWindow(QStringLiteral("TForm2"));
    filter(*window, QStringLiteral("2005"), QStringLiteral("3"));
    ASSERT_TRUE(errors.empty()) << errors[0].toStdString();
    EXPECT_EQ(points(window->Series1()),
              (std::vector<Point>{{k20050301, 3000, "2005/03/01"}, {k20050302, 1500, "2005/03/02"}}));
    EXPECT_EQ(points(window->Series2()), (std::vector<Point>{{k20050301, 2, ""}, {k20050302, 1, ""}}));
    EXPECT_EQ(points(window->Series3()),
              (std::vector<Point>{{k20050301, 500, "2005/03/01"}, {k20050302, 100, "2005/03/02"}}));
}

TEST_F(ChartWindowTest, PerMonthChartHoldsOnePointPerMonthLabelledWithTheMonth)
{
    auto window = makeWindow(QStringLiteral("TForm6"));
    filter(*window, QStringLiteral("2005"));
    ASSERT_TRUE(errors.empty()) << errors[0].toStdString();
    EXPECT_EQ(points(window->Series1()), (std::vector<Point>{{3, 4500, "3"}, {4, 3000, "4"}}));
    EXPECT_EQ(points(window->Series2()), (std::vector<Point>{{3, 3, ""}, {4, 1, ""}}));
    EXPECT_EQ(points(window->Series3()), (std::vector<Point>{{3, 600, "3"}, {4, 0, "4"}}));
}

TEST_F(ChartWindowTest, EachPressRunsTheQueryAgain)
{
    auto window = makeWindow(QStringLiteral("TForm7"));
    filter(*window, QStringLiteral("2006"));
    const auto before = points(window->Series2());
    click(window->Button1);
    EXPECT_EQ(points(window->Series2()), before) << "the same texts give the same points";

    receipts.add(QStringLiteral("'2006-05-01',2006,5,1,100,30,0,100"));
    click(window->Button1);
    EXPECT_EQ(points(window->Series2()), (std::vector<Point>{{3, 1, ""}, {5, 1, ""}}));
}

TEST_F(ChartWindowTest, BackButtonAndCloseBoxHideAndKeepEverything)
{
    auto window = makeWindow(QStringLiteral("TForm5"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    filter(*window, QStringLiteral("2005"), QStringLiteral("3"));
    const Snapshot showing = snapshot(*window);
    const auto series2 = points(window->Series2());
    ASSERT_TRUE(showing.open);

    click(window->Button2);
    EXPECT_FALSE(window->isVisible());
    expectState(*window, showing);

    // While hidden nothing is read: a new receipt does not reach the chart.
    receipts.add(QStringLiteral("'2005-03-03',2005,3,3,100,30,0,100"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    expectState(*window, showing);
    EXPECT_EQ(points(window->Series2()), series2);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("2005"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("3"));

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    expectState(*window, showing);
}

TEST_F(ChartWindowTest, AFailedWindowShowsItsFailedTextsAfterHideAndShow)
{
    auto window = makeWindow(QStringLiteral("TForm3"));
    window->show();
    filter(*window, QStringLiteral("2005x"));
    ASSERT_EQ(errors.size(), 1u);
    click(window->Button2);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    expectState(*window, {false, QStringLiteral("年=2005x"), true, 0});
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("2005x"));
}

TEST_F(ChartWindowTest, EnterFiltersNothingAndEscClosesNothing)
{
    auto window = makeWindow(QStringLiteral("TForm2"));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    typeInto(window->Edit1, QStringLiteral("2005"));
    typeInto(window->Edit2, QStringLiteral("3"));
    for (QWidget* w : {static_cast<QWidget*>(window->Edit1), static_cast<QWidget*>(window->Edit2)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
        QTest::keyClick(w, Qt::Key_Escape);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    expectState(*window, {false, QString(), false, 0});
}

TEST_F(ChartWindowTest, JapaneseTextGoesIntoTheFilterAsTyped)
{
    auto window = makeWindow(QStringLiteral("TForm6"));
    filter(*window, QStringLiteral("２００５　"));
    EXPECT_EQ(window->query().filterText(), QStringLiteral("年=２００５　"));
    EXPECT_TRUE(window->query().filtered());
    // Whatever the evaluator decides, the window is in Showing or Failed.
    EXPECT_EQ(window->query().isOpen(), errors.empty());
}

TEST_F(ChartWindowTest, FilteringOneWindowLeavesTheOthersAlone)
{
    std::vector<std::unique_ptr<ChartWindow>> windows;
    for (const QString& form : chartWindowClassNames())
        windows.push_back(makeWindow(form));
    filter(*windows[0], QStringLiteral("2005"), QStringLiteral("3"));
    filter(*windows[4], QStringLiteral("2006"));
    EXPECT_TRUE(windows[0]->query().isOpen());
    EXPECT_TRUE(windows[4]->query().isOpen());
    for (std::size_t i : {1u, 2u, 3u, 5u}) {
        SCOPED_TRACE(chartWindowClassNames()[int(i)].toStdString());
        expectState(*windows[i], {false, QString(), false, 0});
        EXPECT_TRUE(windows[i]->Edit1->text().isEmpty());
    }
    // The two windows of the same query text hold their own points.
    filter(*windows[5], QStringLiteral("2005"));
    EXPECT_EQ(points(windows[4]->Series1()).size(), 1u);
    EXPECT_EQ(points(windows[5]->Series1()).size(), 2u);
}

TEST_F(ChartWindowTest, EngineStartAndRefillShowTheHourglass)
{
    Qt::CursorShape duringStart = Qt::ArrowCursor;
    data::EngineOptions options = programEngineOptions();
    options.startLibrary = [&] {
        duringStart = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::BlankCursor;
        return sqlite3_initialize();
    };
    data::Engine watched(std::move(options));
    auto window = makeWindow(QStringLiteral("TForm7"), &watched);
    filter(*window, QStringLiteral("2005"));
    EXPECT_EQ(duringStart, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace uriage::testing
