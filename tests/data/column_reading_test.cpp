// Field types from declared types, the engine's names of count and sum
// columns, and the check of every stored value against its column's type.
#include "data/statement/column_reading.h"
#include "data/field_text.h"
#include "common/regional_settings.h"

#include <gtest/gtest.h>

namespace uriage::data {
namespace {

TEST(ColumnReadingTest, DeclaredTypesGiveFieldTypes)
{
    const struct {
        const char* declared;
        FieldType type;
    } cases[] = {
        {"SMALLINT", FieldType::Int16},     {"smallint", FieldType::Int16},   {"INTEGER", FieldType::Int32},
        {"INT", FieldType::Int32},          {"BIGINT", FieldType::Int32},     {"REAL", FieldType::Float},
        {"FLOAT", FieldType::Float},        {"DOUBLE PRECISION", FieldType::Float},
        {"NUMERIC(10,2)", FieldType::Float}, {"MONEY", FieldType::Currency},  {"Currency", FieldType::Currency},
        {"DATE", FieldType::Date},          {"TEXT", FieldType::Text},        {"VARCHAR(40)", FieldType::Text},
        {"NCHAR(2)", FieldType::Text},      {"BLOB", FieldType::Bytes},       {"DECIMAL", FieldType::Float},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldTypeForDeclaredType(c.declared), c.type) << c.declared;
}

TEST(ColumnReadingTest, EngineNamesCountAndSumColumns)
{
    const struct {
        const char* sqliteName;
        const char* declared;
        const char* name;
        FieldType type;
    } cases[] = {
        {"COUNT(*)", "", "COUNT(*)", FieldType::Int32},
        {"count( * )", "", "COUNT(*)", FieldType::Int32},
        {"SUM(保険料金合計)", "", "保険料金合計の合計", FieldType::Float},
        {"SUM(保険外料金)", "", "保険外料金の合計", FieldType::Float},
        {"sum( \"合計金額\" )", "", "合計金額の合計", FieldType::Float},
        {"SUM(a+b)", "", "SUM(a+b)", FieldType::Float},
        {"年", "SMALLINT", "年", FieldType::Int16},
        {"施術日", "DATE", "施術日", FieldType::Date},
    };
    for (const auto& c : cases) {
        const ColumnInfo info = describeResultColumn(QString::fromUtf8(c.sqliteName), QString::fromUtf8(c.declared));
        EXPECT_EQ(info.name, QString::fromUtf8(c.name)) << c.sqliteName;
        EXPECT_EQ(info.type, c.type) << c.sqliteName;
    }
}

StoredValue integer(long long v) { return {StoredValue::Kind::Integer, v, 0, {}}; }
StoredValue real(double v) { return {StoredValue::Kind::Real, 0, v, {}}; }
StoredValue text(const char* v) { return {StoredValue::Kind::Text, 0, 0, QByteArray(v)}; }

TEST(ColumnReadingTest, ValuesReadAsTheirTypeOrNotAtAll)
{
    const struct {
        StoredValue stored;
        FieldType type;
        std::optional<Value> value;
    } cases[] = {
        {StoredValue{}, FieldType::Date, Value{}},
        {integer(2005), FieldType::Int16, Value{int64_t(2005)}},
        {integer(-32768), FieldType::Int16, Value{int64_t(-32768)}},
        {integer(32768), FieldType::Int16, std::nullopt},
        {real(3.0), FieldType::Int16, Value{int64_t(3)}},
        {real(3.5), FieldType::Int16, std::nullopt},
        {text("3"), FieldType::Int16, std::nullopt},
        {integer(2147483647), FieldType::Int32, Value{int64_t(2147483647)}},
        {integer(2147483648), FieldType::Int32, std::nullopt},
        {integer(1500), FieldType::Float, Value{1500.0}},
        {real(1500.5), FieldType::Currency, Value{1500.5}},
        {real(std::numeric_limits<double>::infinity()), FieldType::Float, std::nullopt},
        {text("1500"), FieldType::Float, std::nullopt},
        {text("2005-03-01"), FieldType::Date, Value{DateValue{38412}}},
        {text("1899-12-30"), FieldType::Date, Value{DateValue{0}}},
        {text("2005-02-29"), FieldType::Date, std::nullopt},
        {text("2005-3-1"), FieldType::Date, std::nullopt},
        {text("2005-03-01 10:00"), FieldType::Date, std::nullopt},
        {text("2005-03-01\n"), FieldType::Date, std::nullopt},
        {text("0000-03-01"), FieldType::Date, std::nullopt},
        {integer(38412), FieldType::Date, std::nullopt},
        {text("山田"), FieldType::Text, Value{QString("山田")}},
        {integer(7), FieldType::Text, Value{QString("7")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readValue(c.stored, c.type), c.value) << storedValueText(c.stored).toStdString();
}

TEST(ColumnReadingTest, DisplayTextsAndFloats)
{
    RegionalSettings settings = RegionalSettings::japanese();
    const struct {
        Value value;
        FieldType type;
        QString text;
        double number;
    } cases[] = {
        {Value{}, FieldType::Date, "", 0.0},
        {Value{DateValue{38412}}, FieldType::Date, "2005/03/01", 38412.0},
        {Value{int64_t(2005)}, FieldType::Int16, "2005", 2005.0},
        {Value{1500.5}, FieldType::Float, "1500.5", 1500.5},
        {Value{12345678.0}, FieldType::Float, "12345678", 12345678.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valueDisplayText(c.value, settings), c.text);
        EXPECT_EQ(valueAsFloat(c.value), c.number);
    }
    settings.decimalSeparator = ',';
    EXPECT_EQ(valueDisplayText(Value{1500.5}, settings), "1500,5");
}

} // namespace
} // namespace uriage::data
