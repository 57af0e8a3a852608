// Splitting CSV text into records: quoting, line breaks inside quotes, the
// line each record starts on.
#include "csv_records.h"

#include <gtest/gtest.h>

namespace receipts {
namespace {

struct Expected {
    int line;
    QStringList fields;
    bool blank = false;
    bool unclosedQuote = false;
};

struct Case {
    const char* name;
    const char* text;
    std::vector<Expected> records;
};

TEST(CsvRecords, SplitsAsSpreadsheetExportsWrite)
{
    const Case cases[] = {
        {"empty text", "", {}},
        {"one field", "a", {{1, {"a"}}}},
        {"fields trimmed", " a , b ,c", {{1, {"a", "b", "c"}}}},
        {"empty fields", ",,", {{1, {"", "", ""}}}},
        {"LF", "a,b\nc,d\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"CR LF", "a,b\r\nc,d\r\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"CR alone", "a\rb", {{1, {"a"}}, {2, {"b"}}}},
        {"blank line kept as blank", "a\n  \nb", {{1, {"a"}}, {2, {""}, true}, {3, {"b"}}}},
        {"quoted comma", "\"a,b\",c", {{1, {"a,b", "c"}}}},
        {"doubled quote", "\"say \"\"hi\"\"\"", {{1, {"say \"hi\""}}}},
        {"quoted empty field is not blank", "\"\"", {{1, {""}}}},
        {"blanks before the opening quote", "  \" a \",b", {{1, {"a", "b"}}}},
        {"quote inside a field is a character", "a\"b,c", {{1, {"a\"b", "c"}}}},
        {"text after the closing quote joins the field", "\"a\"b,c", {{1, {"ab", "c"}}}},
        {"LF inside quotes", "\"x\ny\",z\nnext", {{1, {"x\ny", "z"}}, {3, {"next"}}}},
        {"CR LF inside quotes kept, counted once", "h\n\"x\r\ny\",z\r\nnext",
         {{1, {"h"}}, {2, {"x\r\ny", "z"}}, {4, {"next"}}}},
        {"several breaks in one field", "\"a\n\nb\"\nc", {{1, {"a\n\nb"}}, {4, {"c"}}}},
        {"unclosed quote runs to the end", "a\n\"b,\nc", {{1, {"a"}}, {2, {"b,\nc"}, false, true}}},
        {"japanese text", "施術日,年\n2005-03-01,2005", {{1, {"施術日", "年"}}, {2, {"2005-03-01", "2005"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CsvRecord> records = splitCsvRecords(QString::fromUtf8(c.text));
        ASSERT_EQ(records.size(), c.records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(records[i].line, c.records[i].line);
            EXPECT_EQ(records[i].fields, c.records[i].fields);
            EXPECT_EQ(records[i].blank, c.records[i].blank);
            EXPECT_EQ(records[i].unclosedQuote, c.records[i].unclosedQuote);
        }
    }
}

} // namespace
} // namespace receipts
