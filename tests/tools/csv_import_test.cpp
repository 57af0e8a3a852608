// Receipts from CSV files: the values read, or every bad record with the line
// it starts on.
#include "csv_import.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace receipts {
namespace {

const QByteArray kHeader = "施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額\n";

struct Case {
    const char* name;
    QByteArray content;
    int receipts;              // how many are read when there is no error
    QStringList errors;
};

TEST(CsvImport, ReadsReceiptsOrReportsEveryBadRecord)
{
    const Case cases[] = {
        {"header only", kHeader, 0, {}},
        {"one receipt", kHeader + "2005-03-01,2005,3,1,1000,300,0,1300\n", 1, {}},
        {"NULL fields", kHeader + ",,,,,,,\n", 1, {}},
        {"blank lines skipped", "\n\n" + kHeader + "\n2005/3/1,2005,3,1,1,1,1,1\n\n", 1, {}},
        {"quoted fields with commas and line breaks",
         kHeader + "\"2005-03-01\",\"2005\",3,1,\"1000\",300,0,1300\n\"2005-\n03-02\",2005,3,2,1,1,1,1\n", 0,
         {"3: 施術日 '2005-\n03-02' is not a date (YYYY-MM-DD)"}},
        {"a line break inside a quote moves the later line numbers",
         kHeader + "\"2005-03-01\",2005,3,1,1,1,\"0\n\",1\n2005-03-02,2005,3,2,1,1,x,1\n", 0,
         {"4: 保険外料金 'x' is not a number"}},
        {"no header", "", 0, {"1: no header line"}},
        {"missing column", "施術日,年\n", 0,
         {"1: the header lacks the column 月", "1: the header lacks the column 日",
          "1: the header lacks the column 保険料金合計", "1: the header lacks the column 一部負担金",
          "1: the header lacks the column 保険外料金", "1: the header lacks the column 合計金額"}},
        {"unclosed quote in the header", "\"施術日,年\n", 0, {"1: unclosed quote in the header"}},
        {"unclosed quote", kHeader + "2005-03-01,2005,3,1,1,1,1,1\n\"2005-03-02,2005\n", 0, {"3: unclosed quote"}},
        {"field count", kHeader + "2005-03-01,2005\n", 0, {"2: 2 fields where the header names 8"}},
        {"bad values reported together", kHeader + "2005-02-30,2005,x,1,1,1,1,inf\n", 0,
         {"2: 施術日 '2005-02-30' is not a date (YYYY-MM-DD); 月 'x' is not a whole number; 合計金額 'inf' is not a number"}},
        {"whole number out of the 16-bit range", kHeader + ",40000,,,,,,\n", 0, {"2: 年 '40000' is not a whole number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvResult result = parseReceiptsCsv(c.content);
        EXPECT_EQ(result.errors, c.errors);
        if (c.errors.isEmpty()) {
            EXPECT_EQ(int(result.receipts.size()), c.receipts);
        }
    }
}

TEST(CsvImport, ReadsTheValuesOfAQuotedMultiLineRecord)
{
    const CsvResult result = parseReceiptsCsv("\"合計金額\",保険外料金,施術日,年,月,日,保険料金合計,一部負担金\r\n"
                                              "\"1,300\",\"\",\"2005-3-1\",2005,\"3\",1,1000,\"300\"\r\n"
                                              "1,0,2005-03-02,2005,3,2,\" 2\r\n\",\"3\"\r\n");
    ASSERT_EQ(result.errors, QStringList{"2: 合計金額 '1,300' is not a number"});

    const CsvResult good = parseReceiptsCsv("年,月,日,保険料金合計,一部負担金,保険外料金,合計金額,施術日\r\n"
                                            "2005,3,1,1000,300,\"\",1300,\"2005-3-1\"\r\n");
    ASSERT_TRUE(good.errors.isEmpty());
    ASSERT_EQ(good.receipts.size(), 1u);
    const Receipt& r = good.receipts[0];
    EXPECT_EQ(r.treatmentDate, QStringLiteral("2005-03-01"));
    EXPECT_EQ(r.year, 2005);
    EXPECT_EQ(r.month, 3);
    EXPECT_EQ(r.day, 1);
    EXPECT_EQ(r.insuranceTotal, 1000.0);
    EXPECT_EQ(r.copayment, 300.0);
    EXPECT_FALSE(r.uninsured.has_value());
    EXPECT_EQ(r.total, 1300.0);
}

TEST(CsvImport, ReadsTheJapaneseCodePage)
{
    QStringEncoder toSjis("Shift_JIS");
    const QByteArray content = toSjis.encode(QString::fromUtf8(kHeader + "\"2005-03-01\",2005,3,1,1,1,1,1\n"));
    ASSERT_FALSE(toSjis.hasError());
    const CsvResult result = parseReceiptsCsv(content);
    EXPECT_TRUE(result.errors.isEmpty()) << result.errors.join('\n').toStdString();
    EXPECT_EQ(result.receipts.size(), 1u);
}

} // namespace
} // namespace receipts
