// Every failure of an open, with the engine's message, and the table file left
// as it was byte for byte; the engine's start and its error texts.
#include "receipt_fixture.h"

#include "data/engine_error.h"

#include <functional>

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};

struct FailureCase {
    const char* name;
    std::function<QString(ReceiptDirectory&)> prepare;   // returns the database name
    QueryKind kind;
    EngineStatus status;
    std::function<QString(const ReceiptDirectory&)> message;
};

QString fileLine(const ReceiptDirectory& d) { return "ファイル: " + d.tablePath(); }

void writeSchema(ReceiptDirectory& d, const char* schema, const std::vector<Receipt>& rows = {kOne})
{
    d.write(rows, QString::fromUtf8(schema));
}

const FailureCase kFailures[] = {
    {"DirectoryMissing", [](ReceiptDirectory& d) { return d.path() + "/nowhere"; }, QueryKind::Daily, EngineStatus::DirectoryMissing,
     [](const ReceiptDirectory& d) { return "データディレクトリが見つかりません\nディレクトリ: " + d.path() + "/nowhere"; }},
    {"DirectoryIsAFile",
     [](ReceiptDirectory& d) {
         QFile f(d.path() + "/plain");
         EXPECT_TRUE(f.open(QIODevice::WriteOnly));
         return d.path() + "/plain";
     },
     QueryKind::Daily, EngineStatus::DirectoryMissing,
     [](const ReceiptDirectory& d) { return "データディレクトリが見つかりません\nディレクトリ: " + d.path() + "/plain"; }},
    {"TableFileMissing", [](ReceiptDirectory& d) { return d.path(); }, QueryKind::Monthly, EngineStatus::TableFileMissing,
     [](const ReceiptDirectory& d) { return "テーブルファイルが見つかりません\n" + fileLine(d); }},
    {"NotADatabase",
     [](ReceiptDirectory& d) {
         QFile f(d.tablePath());
         EXPECT_TRUE(f.open(QIODevice::WriteOnly));
         f.write(QByteArray(4096, 'x'));
         return d.path();
     },
     QueryKind::Daily, EngineStatus::NotADatabase,
     [](const ReceiptDirectory& d) { return "テーブルファイルがデータベースではないか、壊れています\n" + fileLine(d); }},
    {"DamagedHeader",
     [](ReceiptDirectory& d) {
         d.write({kOne});
         QFile f(d.tablePath());
         EXPECT_TRUE(f.open(QIODevice::ReadWrite));
         f.seek(16);
         f.write("\x00\x03", 2);   // page size 3: no database
         return d.path();
     },
     QueryKind::Daily, EngineStatus::NotADatabase,
     [](const ReceiptDirectory& d) { return "テーブルファイルがデータベースではないか、壊れています\n" + fileLine(d); }},
    {"TableFileIsADirectory",
     [](ReceiptDirectory& d) {
         QDir(d.path()).mkdir(QString::fromUtf8(kTableFile));
         return d.path();
     },
     QueryKind::Daily, EngineStatus::NotADatabase,
     [](const ReceiptDirectory& d) { return "テーブルファイルがデータベースではないか、壊れています\n" + fileLine(d); }},
    {"TableMissingInFile",
     [](ReceiptDirectory& d) {
         writeSchema(d, "CREATE TABLE 患者 (番号 INTEGER)", {});
         return d.path();
     },
     QueryKind::Daily, EngineStatus::TableMissing,
     [](const ReceiptDirectory& d) { return "テーブルが見つかりません\nテーブル: 領収証記録\n" + fileLine(d); }},
    {"EmptyFile",
     [](ReceiptDirectory& d) {
         QFile f(d.tablePath());
         EXPECT_TRUE(f.open(QIODevice::WriteOnly));
         return d.path();
     },
     QueryKind::Monthly, EngineStatus::TableMissing,
     [](const ReceiptDirectory& d) { return "テーブルが見つかりません\nテーブル: 領収証記録\n" + fileLine(d); }},
    {"ColumnMissing",
     [](ReceiptDirectory& d) {
         d.write({}, "CREATE TABLE 領収証記録 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT, 保険料金合計 MONEY,"
                     " 一部負担金 MONEY, 合計金額 MONEY)");
         return d.path();
     },
     QueryKind::Monthly, EngineStatus::ColumnMissing, [](const ReceiptDirectory&) { return QString("列が見つかりません\n列: 保険外料金"); }},
    {"MalformedDate",
     [](ReceiptDirectory& d) {
         d.write({kOne, {"'2005-02-30'", "2005", "2", "30", "1", "1", "1", "1"}});
         return d.path();
     },
     QueryKind::Daily, EngineStatus::ValueNotOfType, [](const ReceiptDirectory&) { return QString("列の値がその型として読めません\n列: 施術日\n値: '2005-02-30'"); }},
    {"DateNotAsText",
     [](ReceiptDirectory& d) {
         d.write({{"38412", "2005", "3", "1", "1", "1", "1", "1"}});
         return d.path();
     },
     QueryKind::Daily, EngineStatus::ValueNotOfType, [](const ReceiptDirectory&) { return QString("列の値がその型として読めません\n列: 施術日\n値: 38412"); }},
    {"TextInWholeNumberGroup",
     [](ReceiptDirectory& d) {
         d.write({{"'2005-03-01'", "'平成17'", "3", "1", "1", "1", "1", "1"}});
         return d.path();
     },
     QueryKind::Monthly, EngineStatus::ValueNotOfType, [](const ReceiptDirectory&) { return QString("列の値がその型として読めません\n列: 年\n値: '平成17'"); }},
    {"WholeNumberOutsideSmallint",
     [](ReceiptDirectory& d) {
         d.write({{"'2005-03-01'", "2005", "40000", "1", "1", "1", "1", "1"}});
         return d.path();
     },
     QueryKind::Monthly, EngineStatus::ValueNotOfType, [](const ReceiptDirectory&) { return QString("列の値がその型として読めません\n列: 月\n値: 40000"); }},
    {"IntegerTotalTooLarge",
     [](ReceiptDirectory& d) {
         d.write({{"'2005-03-01'", "2005", "3", "1", "9223372036854775807", "1", "1", "1"},
                  {"'2005-03-01'", "2005", "3", "1", "1", "1", "1", "1"}});
         return d.path();
     },
     QueryKind::Monthly, EngineStatus::TotalTooLarge, [](const ReceiptDirectory&) { return QString("合計が大きすぎます"); }},
    {"IntegerTotalTooSmall",
     [](ReceiptDirectory& d) {
         d.write({{"'2005-03-01'", "2005", "3", "1", "1", "-9223372036854775807", "1", "1"},
                  {"'2005-03-01'", "2005", "3", "1", "1", "-2", "1", "1"}});
         return d.path();
     },
     QueryKind::Daily, EngineStatus::TotalTooLarge, [](const ReceiptDirectory&) { return QString("合計が大きすぎます"); }},
    {"FloatTotalTooLarge",
     [](ReceiptDirectory& d) {
         d.write({{"'2005-03-01'", "2005", "3", "1", "1", "1", "1e308", "1"},
                  {"'2005-03-01'", "2005", "3", "1", "1", "1", "1e308", "1"}});
         return d.path();
     },
     QueryKind::Daily, EngineStatus::TotalTooLarge, [](const ReceiptDirectory&) { return QString("合計が大きすぎます\n列: 保険外料金の合計"); }},
    {"NotADirectoryPath", [](ReceiptDirectory&) { return QString("Zelmora"); }, QueryKind::Daily, EngineStatus::UnknownDatabase,
     [](const ReceiptDirectory&) { return QString("データベースが見つかりません\nZelmora"); }},
};

class OpenFailureTest : public DataTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OpenFailureTest, FailsWithTheEngineMessageAndLeavesEverythingAsItWas)
{
    ReceiptDirectory dir;
    const QString databaseName = GetParam().prepare(dir);
    const auto before = dir.fingerprint();
    Query query(engine, "Query1", GetParam().kind);
    query.setDatabaseName(databaseName);
    for (int press = 0; press < 2; ++press) {
        EXPECT_EQ(engineStatusOf([&] { query.open(); }), GetParam().status) << "press " << press;
        // The message names the column, file or value at fault.
        EXPECT_EQ(failureOf([&] { query.open(); }), GetParam().message(dir)) << "press " << press;
        EXPECT_EQ(query.state(), DataSetState::Inactive);
        EXPECT_EQ(query.recordCount(), 0u);
    }
    EXPECT_EQ(dir.fingerprint(), before);
}

INSTANTIATE_TEST_SUITE_P(Failures, OpenFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataTest, EngineStartsOnceWithTheHourglassShown)
{
    std::vector<bool> cursor;
    int starts = 0;
    EngineOptions options;
    options.busy = [&](bool busy) { cursor.push_back(busy); };
    options.startLibrary = [&] {
        ++starts;
        return starts == 1 ? SQLITE_NOMEM : starts == 2 ? SQLITE_ERROR : SQLITE_OK;
    };
    Engine starting(std::move(options));
    ReceiptDirectory dir;
    dir.write({kOne});
    Query query(starting, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(failureOf([&] { query.open(); }), "データベースエンジンの初期化中にエラーが発生しました (エラー $2501)");
    EXPECT_EQ(failureOf([&] { query.open(); }), "データベースエンジンの初期化中にエラーが発生しました (エラー $2109)");
    EXPECT_FALSE(starting.started());
    EXPECT_EQ(starting.connectionCount(), 0u);
    query.open();
    query.close();
    query.open();
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(EngineErrorText, TakesEachDistinctLineOnceInOrder)
{
    const auto unlisted = static_cast<EngineStatus>(0x0d0a);
    const struct {
        EngineError error;
        QString message;
    } cases[] = {
        {{EngineStatus::TableFileMissing,
          {{"ファイル: /a"}, {EngineStatus::TableFileMissing, "ファイル: /a"}, {EngineStatus::PermissionDenied, ""}}},
         "テーブルファイルが見つかりません\nファイル: /a\nアクセス権がありません"},
        {{EngineStatus::Locked}, "テーブルは他のプログラムによってロックされています"},
        {{unlisted}, "データベースエンジンエラー $0d0a"},
        {{unlisted, {{static_cast<EngineStatus>(0x0d0b), ""}}}, "データベースエンジンエラー $0d0a"},
        {{unlisted, {{"テーブル: x"}}}, "テーブル: x"},
        {{EngineStatus::NoCursor}, "カーソルハンドルの作成でエラーが発生しました"},
        {EngineError::whileStarting(EngineStatus::OutOfMemory),
         "データベースエンジンの初期化中にエラーが発生しました (エラー $2501)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.error.message(), c.message);
}

} // namespace
} // namespace uriage::data::testing
