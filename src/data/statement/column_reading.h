#pragma once
// How the engine types, names and reads the columns of a result: the field type
// from a column's declared type, the names of count and sum columns, and the
// check of every value against its column's type.
#include "data/field_value.h"

#include <QString>
#include <optional>

namespace uriage::data {

// SMALLINT, INTEGER/INT, REAL/FLOAT/DOUBLE/NUMERIC, MONEY/CURRENCY, DATE,
// TEXT/VARCHAR, BLOB; a size in parentheses is ignored, letter case too.
// Other declared types take the type their SQLite affinity suggests.
FieldType fieldTypeForDeclaredType(const QString& declaredType);

// Name and type of a result column from what SQLite reports: its expression
// text as the name, and the declared type (empty for an expression). A count is
// a 32-bit whole number named "COUNT(*)"; SUM(column) is a floating-point number
// named after the column followed by "の合計".
ColumnInfo describeResultColumn(const QString& sqliteName, const QString& declaredType);

// A stored value as SQLite hands it over.
struct StoredValue {
    enum class Kind { Null, Integer, Real, Text, Blob } kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    QByteArray bytes;   // text as UTF-8, or the blob's bytes
};

// The value of `stored` read as `type`, or nothing when it cannot be read as
// that type (a malformed date, a text in a whole-number column, a whole number
// outside the column's range, a total beyond the floating-point range).
std::optional<Value> readValue(const StoredValue& stored, FieldType type);

// The stored value as the user would recognise it in a message.
QString storedValueText(const StoredValue& stored);

// The amount columns the aggregate statements sum.
inline constexpr const char* kSummedColumns[] = {"保険料金合計", "一部負担金", "保険外料金", "合計金額"};

// Whether a value of this kind may be summed as an amount: a number or NULL.
// A text or a byte string may not, whatever the column's declared type: SQLite's
// SUM would read '1,500' as 1 and '１５００' or a byte string as 0.
inline bool isAmount(StoredValue::Kind kind)
{
    return kind != StoredValue::Kind::Text && kind != StoredValue::Kind::Blob;
}

} // namespace uriage::data
