// The chart follows its query: empty while closed, one refill per open in one
// pass over the rows, with the hourglass, suspended notifications and the
// current row restored, also when a column lookup fails in the middle.
#include "windows/chart_binding.h"
#include "chart/model/chart_model.h"
#include "fake_dataset.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace uriage::chart::testing;
using uriage::ChartBinding;

const QString kDate = QStringLiteral("施術日");
const QString kFees = QStringLiteral("保険料金合計の合計");
const QString kCount = QStringLiteral("COUNT(*)");
const QString kOther = QStringLiteral("保険外料金の合計");

SeriesConfig seriesConfig(const QString& y, const QString& label)
{
    SeriesConfig config;
    config.xColumn = kDate;
    config.yColumn = y;
    config.labelColumn = label;
    return config;
}

// The three series of a per-day chart: labels from the date in Series1 and Series3.
ChartConfig perDayChart()
{
    ChartConfig config;
    config.series = {seriesConfig(kFees, kDate), seriesConfig(kCount, QString()), seriesConfig(kOther, kDate)};
    return config;
}

FakeRow row(Cell date, Cell fees, Cell count, Cell other)
{
    return FakeRow{{kDate, date}, {kFees, fees}, {kCount, count}, {kOther, other}};
}

FakeDataSet receipts(std::vector<FakeRow> rows)
{
    FakeDataSet query;
    query.columns = {kDate, kFees, kCount, kOther};
    query.rows = std::move(rows);
    return query;
}

struct Point {
    double x;
    double y;
    QString label;
    bool isNull;
    friend bool operator==(const Point&, const Point&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Point& p)
    {
        return os << "{" << p.x << ", " << p.y << ", \"" << p.label.toStdString() << "\", " << p.isNull << "}";
    }
};

std::vector<Point> points(const Series& series)
{
    std::vector<Point> result;
    for (std::size_t i = 0; i < series.count(); ++i)
        result.push_back({series.x(i), series.y(i), series.label(i), series.isNull(i)});
    return result;
}

const Cell d1 = date(38412, QStringLiteral("2005/03/01"));
const Cell d2 = date(38413, QStringLiteral("2005/03/02"));
const Cell d3 = date(38414, QStringLiteral("2005/03/03"));

TEST(ChartBinding, IsEmptyUntilTheQueryOpensAndFollowsCloseAndOpen)
{
    FakeDataSet query = receipts({row(d1, num(1000), num(2), num(300)), row(d2, num(2000), num(3), num(0))});
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    EXPECT_FALSE(binding.loaded());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(model.series(i).count(), 0u);

    query.open();
    EXPECT_TRUE(binding.loaded());
    EXPECT_EQ(points(model.series(0)),
              (std::vector<Point>{{38412, 1000, "2005/03/01", false}, {38413, 2000, "2005/03/02", false}}));
    EXPECT_EQ(points(model.series(1)), (std::vector<Point>{{38412, 2, "", false}, {38413, 3, "", false}}));
    EXPECT_EQ(points(model.series(2)),
              (std::vector<Point>{{38412, 300, "2005/03/01", false}, {38413, 0, "2005/03/02", false}}));

    query.close();
    EXPECT_FALSE(binding.loaded());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(model.series(i).count(), 0u) << "series " << i;
}

TEST(ChartBinding, TwoOpeningsGiveTheSamePointsAndRowsAddedInBetweenAppear)
{
    FakeDataSet query = receipts({row(d1, num(1000), num(2), num(300))});
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    query.open();
    const auto firstRun = points(model.series(0));
    query.close();
    query.open();
    EXPECT_EQ(points(model.series(0)), firstRun);
    EXPECT_EQ(query.firstCalls, 2);

    query.close();
    query.rows.push_back(row(d2, num(50), num(1), num(0)));
    query.open();
    EXPECT_EQ(model.series(1).count(), 2u);
}

TEST(ChartBinding, BrowseWhileLoadedDoesNotRefillAgain)
{
    FakeDataSet query = receipts({row(d1, num(1), num(1), num(1))});
    query.open(); // open before registration: the loaded flag starts set
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    EXPECT_TRUE(binding.loaded());
    query.announce(data::DataSetState::Browse);
    query.announce(data::DataSetState::Other);
    EXPECT_EQ(query.firstCalls, 0);
    EXPECT_EQ(model.series(0).count(), 0u);
}

// How one row becomes points, and where the points go.
struct RowCase {
    const char* name;
    std::vector<FakeRow> rows;
    std::vector<Point> series1;
    std::vector<Point> series2;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class ChartBindingRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(ChartBindingRows, BecomeOrderedPoints)
{
    FakeDataSet query = receipts(GetParam().rows);
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    query.open();
    EXPECT_EQ(points(model.series(0)), GetParam().series1);
    EXPECT_EQ(points(model.series(1)), GetParam().series2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartBindingRows,
    ::testing::Values(
        RowCase{"NoRows", {}, {}, {}},
        RowCase{"OneRow", {row(d1, num(1500), num(4), num(0))}, {{38412, 1500, "2005/03/01", false}}, {{38412, 4, "", false}}},
        RowCase{"NullYGivesANullPointWithZero",
                {row(d1, null(), num(4), null())},
                {{38412, 0, "2005/03/01", true}},
                {{38412, 4, "", false}}},
        RowCase{"NullXSortsFirstWithAnEmptyLabel",
                {row(d1, num(10), num(1), num(0)), row(null(), num(20), num(2), num(0))},
                {{0, 20, "", false}, {38412, 10, "2005/03/01", false}},
                {{0, 2, "", false}, {38412, 1, "", false}}},
        RowCase{"EqualXKeepRowOrder",
                {row(d2, num(1), num(1), num(0)), row(d1, num(2), num(2), num(0)), row(d2, num(3), num(3), num(0)),
                 row(d2, num(4), num(4), num(0))},
                {{38412, 2, "2005/03/01", false},
                 {38413, 1, "2005/03/02", false},
                 {38413, 3, "2005/03/02", false},
                 {38413, 4, "2005/03/02", false}},
                {{38412, 2, "", false}, {38413, 1, "", false}, {38413, 3, "", false}, {38413, 4, "", false}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartBinding, NullPointsCountWithZeroInTheStatistics)
{
    FakeDataSet query = receipts({row(d1, num(500), num(2), num(0)), row(d3, null(), num(1), num(0)),
                                  row(d2, num(800), num(1), num(0))});
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    query.open();
    EXPECT_EQ(model.series(0).yRange().minimum, 0);
    EXPECT_EQ(model.series(0).yRange().maximum, 800);
    EXPECT_EQ(model.series(0).xRange().minimum, 38412);
    EXPECT_EQ(model.series(0).xRange().maximum, 38414);
    query.close();
    EXPECT_EQ(model.series(0).yRange().maximum, 0);
}

TEST(ChartBinding, PassRunsWithHourglassSuspendedControlsAndBusyFlag)
{
    FakeDataSet query = receipts({row(d1, num(1), num(1), num(1)), row(d2, num(2), num(2), num(2))});
    query.rowAfterOpen = 1;
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    Qt::CursorShape shapeInside = Qt::ArrowCursor;
    bool busyInside = false;
    query.onFirst = [&] {
        shapeInside = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::BlankCursor;
        busyInside = binding.busy();
        EXPECT_EQ(query.controlsDisabled, 1);
        // A second open notification during the pass is no second refill.
        query.announce(data::DataSetState::Browse);
    };
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor)); // the cursor before the refill
    query.open();

    EXPECT_EQ(shapeInside, Qt::WaitCursor);
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(binding.busy());
    EXPECT_EQ(query.firstCalls, 1);
    EXPECT_EQ(query.controlsDisabled, 0);
    EXPECT_EQ(query.bookmarksFreed, 1);
    EXPECT_EQ(query.position, 1u) << "the row current before the refill is current again";
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the refill left exactly its own cursor off the stack";
}

TEST(ChartBinding, EmptyResultStillShowsTheHourglassAndLeavesNoCursor)
{
    FakeDataSet query = receipts({});
    ChartModel model(perDayChart());
    ChartBinding binding(model, query);
    bool hourglass = false;
    query.onFirst = [&] {
        hourglass = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    query.open();
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(binding.loaded());
}

TEST(ChartBinding, EachOpenAndCloseMarksTheChartOnce)
{
    FakeDataSet query = receipts({row(d1, num(1), num(1), num(1)), row(d2, num(2), num(2), num(2))});
    ChartModel model(perDayChart());
    int changes = 0;
    model.setChangeListener([&] { ++changes; });
    ChartBinding binding(model, query);
    model.clearNeedsRedraw();
    query.open();
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(model.needsRedraw());
    query.close();
    EXPECT_EQ(changes, 2);
}

// A column that the result lacks fails at the first row; the series before the
// failing one keep that row's point and everything the pass changed comes back.
struct MissingColumnCase {
    const char* name;
    int failingSeries;
    enum Kind { Label, Y, X } kind;
    std::vector<std::size_t> countsAfter;
};

void PrintTo(const MissingColumnCase& c, std::ostream* os) { *os << c.name; }

class ChartBindingMissingColumn : public ::testing::TestWithParam<MissingColumnCase> {};

TEST_P(ChartBindingMissingColumn, FailsAtTheFirstRowAndRestoresTheQuery)
{
    const MissingColumnCase& c = GetParam();
    ChartConfig config = perDayChart();
    SeriesConfig& failing = config.series[c.failingSeries];
    const QString missing = QStringLiteral("欠け");
    (c.kind == MissingColumnCase::Label ? failing.labelColumn
     : c.kind == MissingColumnCase::Y   ? failing.yColumn
                                        : failing.xColumn) = missing;

    FakeDataSet query = receipts({row(d1, num(1), num(1), num(1)), row(d2, num(2), num(2), num(2))});
    query.rowAfterOpen = 1;
    ChartModel model(config);
    ChartBinding binding(model, query);
    try {
        query.open();
        FAIL() << "the open should fail";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("Query1: 項目 '欠け' が見つかりません"));
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(model.series(i).count(), c.countsAfter[i]) << "series " << i;
    EXPECT_TRUE(query.isOpen());
    EXPECT_FALSE(binding.loaded());
    EXPECT_FALSE(binding.busy());
    EXPECT_EQ(query.controlsDisabled, 0);
    EXPECT_EQ(query.bookmarksFreed, 1);
    EXPECT_EQ(query.position, 1u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The same columns over a result without rows raise nothing.
    query.close();
    query.rows.clear();
    EXPECT_NO_THROW(query.open());
    EXPECT_TRUE(binding.loaded());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartBindingMissingColumn,
    ::testing::Values(MissingColumnCase{"Series1Label", 0, MissingColumnCase::Label, {0, 0, 0}},
                      MissingColumnCase{"Series2Y", 1, MissingColumnCase::Y, {1, 0, 0}},
                      MissingColumnCase{"Series3X", 2, MissingColumnCase::X, {1, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartBinding, SeriesWithoutYColumnAreNotRead)
{
    ChartConfig config = perDayChart();
    for (auto& s : config.series)
        s.yColumn.clear();
    FakeDataSet query = receipts({row(d1, num(1), num(1), num(1))});
    ChartModel model(config);
    ChartBinding binding(model, query);
    query.open();
    EXPECT_EQ(query.firstCalls, 0);
    EXPECT_EQ(model.series(0).count(), 0u);
    EXPECT_TRUE(binding.loaded());
}

TEST(ChartBinding, UnregistersWhenDestroyed)
{
    FakeDataSet query = receipts({});
    ChartModel model(perDayChart());
    {
        ChartBinding binding(model, query);
        EXPECT_EQ(query.observerCount(), 1u);
    }
    EXPECT_EQ(query.observerCount(), 0u);
}

} // namespace
} // namespace uriage::chart
