// The two aggregate queries against receipt tables in temporary directories:
// result columns, grouping and order, reading values, reopening, connections,
// state notifications and the filter installed at open.
#include "receipt_fixture.h"

#include "data/engine.h"
#include "data/filter/filter.h"
#include "data/query.h"

#include <new>

namespace uriage::data::testing {
namespace {

const std::vector<Receipt> kReceipts = {
    {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"},
    {"'2005-03-01'", "2005", "3", "1", "1000", "300", "500", "1800"},
    {"'2005-02-28'", "2005", "2", "28", "1500.5", "450", "0", "1950.5"},
    // 年 differs from the year of 施術日: a group of its own.
    {"'2005-03-01'", "2004", "3", "1", "700", "210", "0", "910"},
    {"NULL", "2005", "3", "2", "100", "NULL", "NULL", "100"},
    {"'2005-03-02'", "2005", "3", "2", "NULL", "NULL", "200", "200"},
    {"'2006-01-05'", "NULL", "1", "5", "10", "3", "0", "13"},
};

struct KindCase {
    QueryKind kind;
    QStringList columns;
    QStringList rows;
};

class AggregateQueryTest : public DataTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(AggregateQueryTest, GroupsOrdersAndNamesAsTheEngineReports)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    const auto before = dir.fingerprint();

    Query query(engine, "Query1", GetParam().kind);
    query.setDatabaseName(dir.path());
    query.open();

    QStringList names;
    for (const ColumnInfo& c : query.columns())
        names << c.name;
    EXPECT_EQ(names, GetParam().columns);
    EXPECT_EQ(readRows(query), GetParam().rows);
    EXPECT_EQ(query.state(), DataSetState::Browse);
    query.close();
    EXPECT_EQ(dir.fingerprint(), before);
}

INSTANTIATE_TEST_SUITE_P(
    BothKinds, AggregateQueryTest,
    ::testing::Values(
        KindCase{QueryKind::Daily,
                 {"施術日", "年", "月", "日", "COUNT(*)", "保険料金合計の合計", "一部負担金の合計", "保険外料金の合計",
                  "合計金額の合計"},
                 {"null|2005|3|2|1|100|null|null|100", "2005/02/28|2005|2|28|1|1500.5|450|0|1950.5",
                  "2005/03/01|2004|3|1|1|700|210|0|910", "2005/03/01|2005|3|1|2|2000|600|500|3100",
                  "2005/03/02|2005|3|2|1|null|null|200|200", "2006/01/05|null|1|5|1|10|3|0|13"}},
        KindCase{QueryKind::Monthly,
                 {"年", "月", "COUNT(*)", "保険料金合計の合計", "一部負担金の合計", "保険外料金の合計", "合計金額の合計"},
                 {"null|1|1|10|3|0|13", "2004|3|1|700|210|0|910", "2005|2|1|1500.5|450|0|1950.5",
                  "2005|3|4|2100|600|700|3400"}}));

TEST_F(DataTest, ColumnsAreTypedForTheFilterAndTheChart)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    Query query(engine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    query.open();
    const std::vector<FieldType> expected = {FieldType::Date,  FieldType::Int16, FieldType::Int16,
                                             FieldType::Int16, FieldType::Int32, FieldType::Float,
                                             FieldType::Float, FieldType::Float, FieldType::Float};
    ASSERT_EQ(query.columns().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(query.columns()[i].type, expected[i]) << query.columns()[i].name.toStdString();

    // Second row: 2005-02-28, a date read as its day number since 1899-12-30.
    query.next();
    EXPECT_EQ(query.fieldByName("施術日").asFloat(), 38411.0);
    EXPECT_EQ(query.fieldByName("施術日").displayText(), "2005/02/28");
    EXPECT_EQ(query.fieldByName("count(*)").asFloat(), 1.0);
    EXPECT_EQ(query.fieldByName("保険料金合計の合計").asFloat(), 1500.5);
    // First row: null 施術日 reads as 0 and an empty text.
    query.first();
    EXPECT_TRUE(query.fieldByName("施術日").isNull());
    EXPECT_EQ(query.fieldByName("施術日").asFloat(), 0.0);
    EXPECT_EQ(query.fieldByName("施術日").displayText(), "");

    EXPECT_EQ(failureOf([&] { query.fieldByName("保険料金"); }), "Query1: 項目 '保険料金' が見つかりません");
}

TEST_F(DataTest, DateTextFollowsTheRegionalShortDateFormat)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1", "1", "1", "1"}});
    RegionalSettings settings = RegionalSettings::japanese();
    settings.shortDateFormat = "dd.MM.yy";
    RegionalSettings::inject(settings);
    Query query(engine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(query.fieldByName("施術日").displayText(), "01.03.05");
}

TEST_F(DataTest, EmptyTableOpensWithZeroRows)
{
    ReceiptDirectory dir;
    dir.write({});
    for (QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
        Query query(engine, "Query2", kind);
        query.setDatabaseName(dir.path());
        query.open();
        EXPECT_EQ(query.state(), DataSetState::Browse);
        EXPECT_TRUE(query.eof());
        EXPECT_EQ(query.recordCount(), 0u);
        EXPECT_FALSE(query.bookmark().has_value());
        EXPECT_TRUE(query.fieldByName("COUNT(*)").isNull());
    }
}

TEST_F(DataTest, ReceiptAddedBetweenTwoOpensShowsAtTheSecond)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    dir.add({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"});
    EXPECT_EQ(readRows(query), QStringList{"2005|3|1|1000|300|0|1300"}) << "an open query keeps its rows";
    query.close();
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005|3|2|1500|450|0|1950"});
}

TEST_F(DataTest, QueriesShareOneConnectionPerDirectory)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    Query daily(engine, "Query1", QueryKind::Daily);
    Query monthly(engine, "Query5", QueryKind::Monthly);
    daily.setDatabaseName(dir.path() + "/");
    monthly.setDatabaseName(dir.path() + "/");
    daily.open();
    monthly.open();
    EXPECT_EQ(engine.connectionCount(), 1u);
    auto connection = engine.connect(dir.path() + "/");
    EXPECT_EQ(connection->users(), 2);
    daily.close();
    EXPECT_EQ(connection->users(), 1);
    EXPECT_EQ(monthly.recordCount(), 4u) << "closing one query leaves the other's rows";
    monthly.close();
    EXPECT_EQ(connection->users(), 0);
    EXPECT_EQ(engine.connectionCount(), 1u) << "the connection stays open";
}

class StateRecorder : public DataSetObserver {
public:
    void dataSetStateChanged(DataSetState s) override { states.push_back(s); }
    std::vector<DataSetState> states;
};

TEST_F(DataTest, ObserversHearEveryStateChange)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    Query query(engine, "Query1", QueryKind::Daily);
    StateRecorder recorder;
    query.addObserver(&recorder);
    query.setDatabaseName(dir.path());
    query.close();
    query.open();
    query.open();
    query.close();
    query.close();
    query.setFilterText("年=abc");
    query.setFiltered(true);
    EXPECT_FALSE(failureOf([&] { query.open(); }).isEmpty());
    EXPECT_EQ(recorder.states, (std::vector{DataSetState::Browse, DataSetState::Inactive}));

    // Held back while controls are disabled, delivered once on enabling.
    query.setFilterText("");
    query.disableControls();
    query.open();
    EXPECT_EQ(recorder.states.size(), 2u);
    query.enableControls();
    EXPECT_EQ(recorder.states.back(), DataSetState::Browse);
    query.removeObserver(&recorder);
}

TEST_F(DataTest, FilterAndFlagAreOnlyStoredWhileClosed)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    Query query(engine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    query.setFilterText("年=2005 and 月=3");
    query.setFiltered(true);
    query.open();
    query.setFilterText("年=2004");
    query.setFiltered(false);
    EXPECT_EQ(query.filterText(), "年=2005 and 月=3");
    EXPECT_TRUE(query.filtered());
}

struct FilterCase {
    const char* text;
    bool filtered;
    QueryKind kind;
    QStringList firstColumns;   // the first two values of each passing row
    QString message;            // the failure, or empty
};

class OpenWithFilterTest : public DataTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(OpenWithFilterTest, KeepsOnlyPassingRowsOrFailsClosed)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    const FilterCase& c = GetParam();
    Query query(engine, c.kind == QueryKind::Daily ? "Query1" : "Query5", c.kind);
    query.setDatabaseName(dir.path());
    query.setFilterText(QString::fromUtf8(c.text));
    query.setFiltered(c.filtered);
    const QString message = failureOf([&] { query.open(); });
    EXPECT_EQ(message, c.message);
    if (!c.message.isEmpty()) {
        EXPECT_EQ(query.state(), DataSetState::Inactive);
        EXPECT_EQ(query.filterText(), QString::fromUtf8(c.text)) << "the stored text stays";
        return;
    }
    QStringList got;
    for (const QString& row : readRows(query))
        got << row.section('|', 0, 1);
    EXPECT_EQ(got, c.firstColumns);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, OpenWithFilterTest,
    ::testing::Values(
        FilterCase{"年=2005 and 月=3", true, QueryKind::Daily, {"null|2005", "2005/03/01|2005", "2005/03/02|2005"}, ""},
        FilterCase{"年=2005", true, QueryKind::Monthly, {"2005|2", "2005|3"}, ""},
        FilterCase{"年=2005 or 年=2004", true, QueryKind::Monthly, {"2004|3", "2005|2", "2005|3"}, ""},
        FilterCase{"年=1999", true, QueryKind::Monthly, {}, ""},
        // With the flag off the text is compiled but every row stays.
        FilterCase{"年=2005", false, QueryKind::Monthly, {"null|1", "2004|3", "2005|2", "2005|3"}, ""},
        FilterCase{"年=abc", false, QueryKind::Monthly, {}, "Query5: 項目 'abc' が見つかりません"},
        FilterCase{"日=1", true, QueryKind::Monthly, {}, "Query5: 項目 '日' が見つかりません"},
        FilterCase{"年=2005.5", true, QueryKind::Daily, {}, "'2005.5' は整数ではありません"}));

// Switching a filter on runs out of memory while the passing rows are kept:
// once, and the filter is compiled and applied again; twice, and the open
// fails with the engine's out-of-memory message.
TEST(SwitchFilterOnTest, RetriesOnceWhenKeepingTheRowsRunsOutOfMemory)
{
    struct PassEverything : CompiledFilter {
        bool passes(const Row&) const override { return true; }
    };
    const struct {
        int shortages;     // how many applications run out of memory
        int compilations;  // how many the switch makes
        QString message;   // the failure, or empty
    } cases[] = {
        {0, 1, ""},
        {1, 2, ""},
        {2, 2, "メモリが不足しています"},
    };
    for (const auto& c : cases) {
        int compilations = 0;
        int applications = 0;
        std::vector<std::size_t> rows;
        const QString message = failureOf([&] {
            rows = switchFilterOn(
                [&] {
                    ++compilations;
                    return std::make_unique<PassEverything>();
                },
                [&](const CompiledFilter&) {
                    if (++applications <= c.shortages)
                        throw std::bad_alloc();
                    return std::vector<std::size_t>{0, 2};
                });
        });
        EXPECT_EQ(message, c.message) << c.shortages;
        EXPECT_EQ(compilations, c.compilations) << c.shortages;
        const std::vector<std::size_t> expected = c.message.isEmpty() ? std::vector<std::size_t>{0, 2}
                                                                       : std::vector<std::size_t>{};
        EXPECT_EQ(rows, expected) << c.shortages;
    }
}

TEST_F(DataTest, BookmarksReturnToTheSavedRow)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    query.next();
    query.next();
    const Bookmark mark = query.bookmark();
    ASSERT_TRUE(mark.has_value());
    for (query.first(); !query.eof(); query.next()) {
    }
    EXPECT_EQ(query.currentRow(), nullptr);
    query.gotoBookmark(mark);
    EXPECT_EQ(query.fieldByName("年").displayText(), "2005");
    EXPECT_EQ(query.fieldByName("月").displayText(), "2");
    query.gotoBookmark(std::nullopt);
    EXPECT_EQ(query.fieldByName("月").displayText(), "2") << "no bookmark: nothing moves";
}

#ifndef Q_OS_WIN
// On Linux the default drive C: directory lies under the Wine prefix; on
// Windows it is C:\Zelmora itself, which a test leaves alone.
TEST_F(DataTest, DefaultDatabaseIsTheDriveCDirectoryUnderTheWinePrefix)
{
    ReceiptDirectory prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("drive_c/zelmora"));
    ReceiptDirectory unused;
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    {
        sqlite3* db = nullptr;
        const QString file = prefix.path() + "/drive_c/zelmora/" + QString::fromUtf8(kTableFile);
        ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
        execSql(db, QString::fromUtf8(kReceiptSchema));
        execSql(db, insertSql({"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}));
        sqlite3_close(db);
    }
    Query query(engine, "Query1", QueryKind::Monthly);
    EXPECT_EQ(query.databaseName(), "C:\\Zelmora");
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005|3|1|1000|300|0|1300"});
    if (saved.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", saved);
}
#endif

} // namespace
} // namespace uriage::data::testing
