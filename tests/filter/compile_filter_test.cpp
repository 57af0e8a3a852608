// Filter texts compiled against the result columns of both kinds of query:
// the passing rows of a small fixture, or the exact message.
#include "filter_fixture.h"

#include "data/filter/filter_parser.h"

#include <gtest/gtest.h>

namespace uriage::data::testing {
namespace {

enum class Width { Both, Int16Only, Int32Only };

struct Expect {
    bool isMessage;
    QString text;  // space-separated row keys, or the message
};
Expect passing(const char* keys) { return {false, QString::fromUtf8(keys)}; }
Expect fails(const char* message) { return {true, QString::fromUtf8(message)}; }

struct Case {
    const char* filter;
    QueryKind kind;
    Expect expect;
    Width width = Width::Both;
};

constexpr auto D = QueryKind::Daily;
constexpr auto M = QueryKind::Monthly;

void check(const Case& c, const RegionalSettings& settings)
{
    for (FieldType width : {FieldType::Int16, FieldType::Int32}) {
        if ((c.width == Width::Int16Only && width != FieldType::Int16)
            || (c.width == Width::Int32Only && width != FieldType::Int32))
            continue;
        SCOPED_TRACE(std::string(c.filter) + (width == FieldType::Int16 ? " [16-bit]" : " [32-bit]")
                     + (c.kind == D ? " daily" : " monthly"));
        const Outcome outcome = filterRows(QString::fromUtf8(c.filter), columnsFor(c.kind, width),
                                           rowsFor(c.kind), componentFor(c.kind), settings);
        if (c.expect.isMessage) {
            EXPECT_FALSE(outcome.rows.has_value());
            EXPECT_EQ(outcome.message.toStdString(), c.expect.text.toStdString());
        } else {
            ASSERT_TRUE(outcome.rows.has_value()) << outcome.message.toStdString();
            EXPECT_EQ(outcome.rows->join(' ').toStdString(), c.expect.text.toStdString());
        }
    }
}

// The filter texts the chart windows build from what the user types.
const Case typedValues[] = {
    {"年=2005 and 月=3", D, passing("2005/3/1 2005/3/15")},
    {"年=2005", M, passing("2005/1 2005/3")},
    {"年=  2005   and 月= 3 ", D, passing("2005/3/1 2005/3/15")},
    {"年= 2005 ", M, passing("2005/1 2005/3")},
    {"年=2010", M, passing("")},
    {"年=abc", D, fails("Query1: 項目 'abc' が見つかりません")},
    {"年=abc", M, fails("Query2: 項目 'abc' が見つかりません")},
    {"年=２００５", D, fails("Query1: 項目 '２００５' が見つかりません")},
    {"年=　2005", M, fails("Query2: 項目 '　2005' が見つかりません")},
    {"年=2005　", M, fails("フィルター式が正しく終わっていません")},
    {"年=2005 and 月=3　", D, fails("フィルター式が正しく終わっていません")},
    {"年=-", M, fails("'-' は整数ではありません")},
    {"年=-5", M, passing("")},
    {"年=2005年", M, fails("フィルター式が正しく終わっていません")},
    {"年=2005)", D, fails("フィルター式が正しく終わっていません")},
    {"年=   ", M, fails("式が必要な場所に なにもありません。")},
    {"年=2005 and 月=  ", D, fails("式が必要な場所に なにもありません。")},
    {"年=2005/3", M, fails("フィルター式中の数値演算はサポートされていません")},
    {"年=2005 +3", M, fails("フィルター式中の数値演算はサポートされていません")},
    {"年=2005+3", M, fails("'2005+3' は整数ではありません")},
    {"年=2005.5", M, fails("'2005.5' は整数ではありません")},
    {"年=.5", M, fails("フィルター式に不正な文字 '.' が含まれています。")},
    {"年=#", M, fails("フィルター式に不正な文字 '#' が含まれています。")},
    {"年=?", M, fails("フィルター式に不正な文字 '?' が含まれています。")},
    {"年=2005 and 月=!", D, fails("フィルター式に不正な文字 '!' が含まれています。")},
    {"年=\"2005\"", M, fails("フィルター式に不正な文字 '\"' が含まれています。")},
    {"年='2005'", M, passing("2005/1 2005/3")},
    {"年='2005' and 月='3'", D, passing("2005/3/1 2005/3/15")},
    {"年=2005'", M, fails("文字列定数が不完全です")},
    {"年=[2005", M, fails("項目名が不完全です")},
    {"年=(2005", M, fails("')' が必要な場所になにもありませんがあります。")},
    {"年=月", D, passing("3/3/3")},
    {"年=月", M, passing("3/3")},
    {"年=2005 or 年=2006", M, passing("2005/1 2005/3 2006/3 2006/4")},
    // AND binds tighter than OR: all of 2005 and March 2006.
    {"年=2005 or 年=2006 and 月=3", D, passing("2005/1/5 2005/3/1 2005/3/15 2006/3/2")},
    {"(年=2005 or 年=2006) and 月=3", D, passing("2005/3/1 2005/3/15 2006/3/2")},
    // A digit right after a constant is the minus operator.
    {"年=2005 3", M, fails("フィルター式中の数値演算はサポートされていません")},
    {"年=2005 -3", M, fails("フィルター式中の数値演算はサポートされていません")},
};

TEST(CompileFilter, TypedValuesOfTheChartWindows)
{
    for (const Case& c : typedValues)
        check(c, japaneseSettings());
}

TEST(CompileFilter, ColumnMessageNamesTheQueryComponent)
{
    const Outcome outcome = filterRows("年=abc", columnsFor(M, FieldType::Int16), rowsFor(M), "Query5",
                                       japaneseSettings());
    EXPECT_EQ(outcome.message.toStdString(), "Query5: 項目 'abc' が見つかりません");
}

const Case grammar[] = {
    // Comments: one per token position, closed by the first "*/".
    {"/* 年 */ 年=2005", M, passing("2005/1 2005/3")},
    {"年=/**/2005/* end */", M, passing("2005/1 2005/3")},
    {"年=2005 /* open", M, fails("フィルター式に不正な文字 '' が含まれています。")},
    {"年=2005 /* a*b */", M, fails("フィルター式に不正な文字 'b' が含まれています。")},
    {"/*a*/ /*b*/ 年=2005", M, fails("式が必要な場所に '/'。")},
    // Bracketed names: any bytes up to "]", letter case ignored.
    {"[年]=2006", M, passing("2006/3 2006/4")},
    {"[count(*)]>=4", M, passing("2005/3 2006/4")},
    {"[Count(*)] = 4 and [日]=15", D, passing("2005/3/15")},
    {"[日]=1", M, fails("Query2: 項目 '日' が見つかりません")},
    {"[]=1", M, fails("Query2: 項目 '' が見つかりません")},
    {"施術日='2005/03/01'", M, fails("Query2: 項目 '施術日' が見つかりません")},
    // Names run over ".", "[", "]" and double-byte characters whose second byte is "\".
    {"年.a=1", D, fails("Query1: 項目 '年.a' が見つかりません")},
    {"年[1]=1", D, fails("Query1: 項目 '年[1]' が見つかりません")},
    {"表=1", D, fails("Query1: 項目 '表' が見つかりません")},
    {"ｱｲ=1", D, fails("Query1: 項目 'ｱｲ' が見つかりません")},
    {"年(1)=2005", M, fails("フィルター式が正しく終わっていません")},
    // IN lists.
    {"年 IN (2005, 2006)", M, passing("2005/1 2005/3 2006/3 2006/4")},
    {"年 in (2004)", M, passing("2004/12")},
    {"月 In ('3', 4, 日)", D, passing("2005/3/1 2005/3/15 2006/3/2 2006/4/10 3/3/3")},
    {"年 IN ()", M, fails("IN 述語のリストは空であってはならない")},
    {"年 IN 2005", M, fails("'(' が必要なところに '2005' が現れました。")},
    {"年 IN", M, fails("'(' が必要なところに なにもありません が現れました。")},
    {"年 IN (2005 年)", M, fails("')' または ',' が必要なところに '年' が現れました。")},
    {"年 IN (2005", M, fails("')' または ',' が必要なところに なにもありません が現れました。")},
    {"年 IN (2005,", M, fails("式が必要な場所に なにもありません。")},
    {"年 IN ('x')", M, fails("'x' は整数ではありません")},
    // NOT, one per comparison; blank values never compare.
    {"not 年=2005", M, passing("2004/12 2006/3 2006/4 3/3 null")},
    {"NOT 年=2005 and 月=3", M, passing("2006/3 3/3")},
    {"not not 年=2005", M, fails("式が必要な場所に 'not'。")},
    {"年=2005 and or 月=3", M, fails("式が必要な場所に 'or'。")},
    {"年 <> 2005", M, passing("2004/12 2006/3 2006/4 3/3")},
    // Nested parentheses.
    {"((年=2005) or ((年=2006) and (月=4)))", D, passing("2005/1/5 2005/3/1 2005/3/15 2006/4/10")},
    {"((年=2005)", M, fails("')' が必要な場所になにもありませんがあります。")},
    {"(年=2005 月=3)", M, fails("')' が必要な場所に'月'があります。")},
    // One operator per comparison; no arithmetic; the whole must be a condition.
    {"年=2005=3", M, fails("フィルター式が正しく終わっていません")},
    {"年*2=4010", M, fails("フィルター式中の数値演算はサポートされていません")},
    {"年", M, fails("フィルター式の形式が正しくありません")},
    {"(2005)", M, fails("フィルター式の形式が正しくありません")},
    {"", M, fails("式が必要な場所に なにもありません。")},
    {"=2005", M, fails("式が必要な場所に '='。")},
    // A digit after AND, OR or NOT starts a number, not the minus operator.
    {"年=2004 or 2006=年", M, passing("2004/12 2006/3 2006/4")},
    {"not 2005=年 and 月=3", M, passing("2006/3 3/3")},
    // Operators and words in any letter case.
    {"年=2005 AnD 月=3 Or 年=2004", M, passing("2004/12 2005/3")},
    {"月 iS nUlL", D, passing("null")},
    {"月 is not null and 年 <= 2005 and 年 >= 2005", M, passing("2005/1 2005/3")},
    {"年 Is  Not   Null AND 年<2005 aND 年>3", M, passing("2004/12")},
    {"年 IS 2005", M, fails("キーワードが間違っています")},
    {"年 IS NOT 2005", M, fails("キーワードが間違っています")},
    {"年 IS", M, fails("キーワードが間違っています")},
    {"年 IS NULLS", M, fails("キーワードが間違っています")},
    // NULL: "=" and "<>" become blank tests; LIKE refuses it; ordering never holds.
    {"年 = NULL", M, passing("null")},
    {"NULL = 年", M, passing("null")},
    {"年 <> null", M, passing("2004/12 2005/1 2005/3 2006/3 2006/4 3/3")},
    {"年 < NULL or 年 >= null", M, passing("")},
    {"年 LIKE NULL", M, fails("NULL は '=' または '<>' 以外と組み合わせることはできません")},
    {"Null like 年", M, fails("NULL は '=' または '<>' 以外と組み合わせることはできません")},
    {"年 IN (NULL, 2004)", M, passing("2004/12")},
    // True and False: conditions of their own, typed like any constant when compared.
    {"True", M, fails("フィルター式の形式が正しくありません")},
    {"TRUE and 年=2004", M, passing("2004/12")},
    {"false or 年=2004", M, passing("2004/12")},
    {"False and 年=2004", M, passing("")},
    {"年=True", M, fails("'True' は整数ではありません")},
    // Constants typed by the column, whichever side the column stands on.
    {"2005=年", M, passing("2005/1 2005/3")},
    {"'3'=月 and '2005'=年", D, passing("2005/3/1 2005/3/15")},
    {"年='2005 '", M, fails("'2005 ' は整数ではありません")},
    {"年='40000'", M, fails("定数が範囲を超えています"), Width::Int16Only},
    {"年='40000'", M, passing(""), Width::Int32Only},
    {"年=-32769", M, fails("定数が範囲を超えています"), Width::Int16Only},
    {"年=99999999999999999999", M, fails("定数が範囲を超えています"), Width::Int16Only},
    {"年=99999999999999999999", M, fails("'99999999999999999999' は整数ではありません"), Width::Int32Only},
    {"年=2147483648", M, fails("'2147483648' は整数ではありません"), Width::Int32Only},
    {"年=-2147483648 or 年='+2004'", M, passing("2004/12"), Width::Int32Only},
    {"年=+2004", M, fails("式が必要な場所に '+'。")},
    {"[COUNT(*)]=2147483648", M, fails("'2147483648' は整数ではありません")},
    {"保険料金合計の合計 = 1000.5", D, passing("2005/1/5")},
    {"保険料金合計の合計 > 4.5e3", D, passing("2006/4/10")},
    {"保険料金合計の合計 = 'abc'", D, fails("'abc' は浮動小数点数ではありません")},
    {"保険料金合計の合計 = 1e999", D, fails("'1e999' は浮動小数点数ではありません")},
    {"保険料金合計の合計 = 1,5", D, fails("フィルター式が正しく終わっていません")},
    {"施術日 = '2005/03/15'", D, passing("2005/3/15")},
    {"施術日 >= '2005/03/01' and '2006/01/01' > 施術日", D, passing("2005/3/1 2005/3/15")},
    {"施術日 = '2005/13/01'", D, fails("'2005/13/01' は日付ではありません")},
    {"施術日 = 2005", D, fails("'2005' は日付ではありません")},
    {"施術日 IS NULL", D, passing("null")},
    // Constants not compared with a column: numbers are floating point.
    {"2005 = 2005.0 and 年=2004", M, passing("2004/12")},
    {"1 = - and 年=2004", M, fails("'-' は浮動小数点数ではありません")},
    {"'a' = 'a' and 年=2004", M, passing("2004/12")},
    {"'1' = 1", M, passing("")},
    // Closing quote: it stays in the text when another quote follows and the
    // next word is plain; it closes before a keyword, a number or a quote.
    {"年='2005' 月=3'", M, fails("'2005' 月=3' は整数ではありません")},
    {"年='2005' or 年='2006'", M, passing("2005/1 2005/3 2006/3 2006/4")},
    {"年 IN ('2005',2006, '2004')", M, passing("2004/12 2005/1 2005/3 2006/3 2006/4")},
    {"年='2005' = 年 or 'x'", M, fails("フィルター式が正しく終わっていません")},
    {"年='it''s'", M, fails("'it's' は整数ではありません")},
    // LIKE on whole numbers: the pattern takes the column's type.
    {"年 LIKE 2005", M, passing("2005/1 2005/3")},
    {"年 like '20%'", M, fails("'20%' は整数ではありません")},
    {"'abc' like 'a%' and 年=2004", M, passing("2004/12")},
    {"'abc' like 'a_' or 年=2004", M, passing("2004/12")},
};

TEST(CompileFilter, GrammarCorners)
{
    for (const Case& c : grammar)
        check(c, japaneseSettings());
}

TEST(CompileFilter, DecimalSeparatorIsTakenFromTheRegionalSettings)
{
    RegionalSettings comma = japaneseSettings();
    comma.decimalSeparator = ',';
    const Case cases[] = {
        {"保険料金合計の合計 = 1000,5", D, passing("2005/1/5")},
        {"保険料金合計の合計 = '1000,5'", D, passing("2005/1/5")},
        {"保険料金合計の合計 = 1000.5", D, fails("フィルター式に不正な文字 '.' が含まれています。")},
        {"保険料金合計の合計 = '1000.5'", D, fails("'1000.5' は浮動小数点数ではありません")},
        // A "," that ends a number before a blank separates list items.
        {"年 IN (2004, 2006)", M, passing("2004/12 2006/3 2006/4")},
        {"年 IN (2004,2006)", M, fails("'2004,2006' は整数ではありません")},
        {"年 IN ('2004',2006)", M, passing("2004/12 2006/3 2006/4")},
    };
    for (const Case& c : cases)
        check(c, comma);
}

// A table with text and large-object columns, for LIKE and the type checks.
TEST(CompileFilter, TextColumnsAndLargeObjects)
{
    const std::vector<ColumnInfo> columns{
        {"名前", FieldType::Text}, {"メモ", FieldType::Memo}, {"画像", FieldType::Bytes}, {"件数", FieldType::UInt16}};
    const QString longName = QString(254, 'a');
    const std::vector<FixtureRow> rows{
        {"山田", {QString("山田"), QString("m"), Value(), int64_t(1)}},
        {"山本", {QString("山本"), Value(), Value(), int64_t(2)}},
        {"田中", {QString("田中"), Value(), Value(), int64_t(3)}},
        {"quote", {QString("a' b"), Value(), Value(), int64_t(4)}},
        {"it", {QString("it's"), Value(), Value(), int64_t(5)}},
        {"long", {longName, Value(), Value(), int64_t(6)}},
        {"blank", {Value(), Value(), Value(), Value()}},
    };
    const struct {
        QString filter;
        Expect expect;
    } cases[] = {
        {"名前 like '山%'", passing("山田 山本")},
        {"名前 LIKE '_中'", passing("田中")},
        {"名前 like '%'", passing("山田 山本 田中 quote it long")},
        {"名前 like '%本%' or 名前 like '%中'", passing("山本 田中")},
        {"名前 like 山田", fails("Query1: 項目 '山田' が見つかりません")},
        {"名前 = '山田'", passing("山田")},
        {"名前 > '山'", passing("山田 山本 田中")},
        // The quote after a stays: another quote follows and b is a plain word.
        {"名前 = 'a' b'", passing("quote")},
        // Before "b." the quote closes, and b.c is left over.
        {"名前 = 'a' b.c'", fails("フィルター式が正しく終わっていません")},
        {"名前 = 'it''s'", passing("it")},
        {"名前 = 'a' and 'b' = 'b'", passing("")},
        // The text takes 256 bytes, the column's type 255 of them, never half a character.
        {"名前 = '" + longName + "山'", passing("long")},
        {"名前 = '" + QString(300, 'a') + "'", passing("")},
        {"名前 = 2005", passing("")},
        {"件数 = -1", fails("定数が範囲を超えています")},
        {"件数 = 65536", fails("定数が範囲を超えています")},
        {"件数 IN (65535, 5)", passing("it")},
        {"メモ like 'm%'", passing("山田")},
        {"メモ is null and 名前 = '山本'", passing("山本")},
        {"メモ = 'm'", fails("式内の型不一致")},
        {"'m' = メモ", fails("式内の型不一致")},
        {"メモ IN ('m')", fails("式内の型不一致")},
        {"画像 like 'm'", fails("式内の型不一致")},
        {"画像 = 名前", fails("式内の型不一致")},
        {"画像 IS NOT NULL", passing("")},
        {"画像 = NULL and 名前 = '田中'", passing("田中")},
        {"画像 < NULL", fails("式内の型不一致")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        const Outcome outcome = filterRows(c.filter, columns, rows, "Query1", japaneseSettings());
        if (c.expect.isMessage) {
            EXPECT_FALSE(outcome.rows.has_value());
            EXPECT_EQ(outcome.message.toStdString(), c.expect.text.toStdString());
        } else {
            ASSERT_TRUE(outcome.rows.has_value()) << outcome.message.toStdString();
            EXPECT_EQ(outcome.rows->join(' ').toStdString(), c.expect.text.toStdString());
        }
    }
}

// Deep nesting fails as malformed instead of exhausting the stack.
TEST(CompileFilter, NestingIsBounded)
{
    const auto columns = columnsFor(M, FieldType::Int16);
    const auto rows = rowsFor(M);
    const QString inner = "年=2004";
    const Outcome deepest = filterRows(QString(filter::maxNesting - 1, '(') + inner + QString(filter::maxNesting - 1, ')'),
                                       columns, rows, "Query2", japaneseSettings());
    ASSERT_TRUE(deepest.rows.has_value()) << deepest.message.toStdString();
    EXPECT_EQ(deepest.rows->join(' ').toStdString(), "2004/12");
    for (int depth : {filter::maxNesting, 100000}) {
        const Outcome tooDeep = filterRows(QString(depth, '(') + inner + QString(depth, ')'), columns, rows,
                                           "Query2", japaneseSettings());
        EXPECT_EQ(tooDeep.message.toStdString(), "フィルター式の形式が正しくありません");
    }
    // A long flat chain of ORs is no nesting.
    QStringList terms;
    for (int i = 0; i < 20000; ++i)
        terms << "年=1";
    terms << "年=2004";
    const Outcome flat = filterRows(terms.join(" or "), columns, rows, "Query2", japaneseSettings());
    ASSERT_TRUE(flat.rows.has_value()) << flat.message.toStdString();
    EXPECT_EQ(flat.rows->join(' ').toStdString(), "2004/12");
}

} // namespace
} // namespace uriage::data::testing
