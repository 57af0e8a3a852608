// Header fields of the table file, each set to a value SQLite refuses or
// accepts: the press refuses exactly what SQLite refuses (as no database) and
// shows the rows of what it accepts. SQLite itself, opening a copy of the same
// bytes, is the judge.
#include "receipt_fixture.h"

namespace uriage::data::testing {
namespace {

struct HeaderCase {
    const char* name;
    int offset;
    std::vector<unsigned char> bytes;
    const char* before;   // run before the table is written
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

const HeaderCase kHeaderCases[] = {
    {"Magic", 0, {'X'}, ""},
    {"PageSizeThree", 16, {0x00, 0x03}, ""},
    {"PageSizeNotThePagesOwn", 16, {0x04, 0x00}, ""},
    {"PageSizeOneIsLarge", 16, {0x00, 0x01}, ""},
    {"WriteVersionThree", 18, {3}, ""},
    {"WriteVersionZero", 18, {0}, ""},
    {"ReadVersionThree", 19, {3}, ""},
    {"ReadVersionSeventeen", 19, {17}, ""},
    {"ReadVersionZero", 19, {0}, ""},
    {"WalReadVersionSeventeen", 19, {17}, "PRAGMA journal_mode=WAL"},
    {"WalWriteVersionThree", 18, {3}, "PRAGMA journal_mode=WAL"},
    {"ReservedUsableTooSmall", 20, {40}, "PRAGMA page_size=512"},
    {"MaxPayloadFraction", 21, {65}, ""},
    {"MinPayloadFraction", 22, {31}, ""},
    {"LeafPayloadFraction", 23, {33}, ""},
    {"PageCountPastTheFile", 28, {0, 0, 1, 0}, ""},
    {"PageCountShort", 28, {0, 0, 0, 1}, ""},
    {"PageCountValidForAnother", 92, {0, 0, 0x7f, 0}, ""},
    {"SchemaFormatFive", 44, {0, 0, 0, 5}, ""},
    {"TextEncodingFour", 56, {0, 0, 0, 4}, ""},
    {"TextEncodingFive", 56, {0, 0, 0, 5}, ""},
    {"TextEncodingHighBits", 56, {1, 0, 0, 1}, ""},
};

// Whether SQLite reads the table from a copy of `tableFile`.
bool sqliteReads(const QString& tableFile)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("copy.db"));
    EXPECT_TRUE(QFile::copy(tableFile, copy));
    sqlite3* db = nullptr;
    bool read = sqlite3_open_v2(platform::pathBytes(copy).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
                && sqlite3_exec(db, "SELECT sum(保険料金合計) FROM 領収証記録", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return read;
}

class HeaderFieldTest : public DataTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderFieldTest, RefusedExactlyWhereSqliteRefuses)
{
    const HeaderCase& c = GetParam();
    const Receipt receipt = {"'2005-03-01'", "2005", "3", "1", "3000", "900", "500", "1400"};
    ReceiptDirectory dir;
    dir.write({receipt, receipt}, QString::fromUtf8(kReceiptSchema), QString::fromUtf8(c.before));
    const QString rows = openedIn(engine, dir.path(), QueryKind::Daily);
    {
        QFile f(dir.tablePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(c.offset));
        ASSERT_EQ(f.write(reinterpret_cast<const char*>(c.bytes.data()), qint64(c.bytes.size())), qint64(c.bytes.size()));
    }
    const bool accepted = sqliteReads(dir.tablePath());
    const auto before = dir.fingerprint();

    Engine afterEdit; // keeps nothing of the first open
    const QString shown = openedIn(afterEdit, dir.path(), QueryKind::Daily);
    if (accepted)
        EXPECT_EQ(shown, rows);
    else
        EXPECT_EQ(shown, "テーブルファイルがデータベースではないか、壊れています\nファイル: " + dir.tablePath());
    EXPECT_EQ(dir.fingerprint(), before);
}

INSTANTIATE_TEST_SUITE_P(Fields, HeaderFieldTest, ::testing::ValuesIn(kHeaderCases),
                         [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
