// A receipt table stored with UTF-16 texts is as readable as one with UTF-8
// texts: the same rows for both queries, in rollback and in WAL mode, and the
// file left as it was.
#include "receipt_fixture.h"

namespace uriage::data::testing {
namespace {

const std::vector<Receipt> kReceipts = {
    {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"},
    {"'2005-03-01'", "2005", "3", "1", "1500.5", "450", "500", "1950.5"},
    {"'2005-02-28'", "2005", "2", "28", "NULL", "NULL", "200", "200"},
    {"NULL", "2004", "12", "31", "10", "3", "0", "13"},
};

struct EncodingCase {
    const char* name;
    const char* setup;   // runs before the table is made
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class TextEncodingTest : public DataTest, public ::testing::WithParamInterface<EncodingCase> {};

QStringList rowsOf(Engine& engine, const QString& directory, QueryKind kind)
{
    Query query(engine, "Query1", kind);
    query.setDatabaseName(directory);
    query.open();
    return readRows(query);
}

TEST_P(TextEncodingTest, GivesTheRowsOfTheSameTableInUtf8)
{
    ReceiptDirectory reference;
    reference.write(kReceipts);
    ReceiptDirectory encoded;
    encoded.write(kReceipts, QString::fromUtf8(kReceiptSchema), QString::fromUtf8(GetParam().setup));
    const auto before = encoded.fingerprint();

    for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
        const QStringList expected = rowsOf(engine, reference.path(), kind);
        ASSERT_FALSE(expected.isEmpty());
        QStringList actual;
        const QString message = failureOf([&] { actual = rowsOf(engine, encoded.path(), kind); });
        EXPECT_EQ(message, QString());
        EXPECT_EQ(actual, expected);
    }
    const auto after = encoded.fingerprint();
    ASSERT_TRUE(after.count(QString::fromUtf8(kTableFile)));
    EXPECT_EQ(after.at(QString::fromUtf8(kTableFile)), before.at(QString::fromUtf8(kTableFile)));
}

INSTANTIATE_TEST_SUITE_P(Encodings, TextEncodingTest,
                         ::testing::Values(EncodingCase{"Utf16le", "PRAGMA encoding='UTF-16le'"},
                                           EncodingCase{"Utf16be", "PRAGMA encoding='UTF-16be'"},
                                           EncodingCase{"Utf16leWal", "PRAGMA encoding='UTF-16le'; PRAGMA journal_mode=WAL"}),
                         [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
