#pragma once
// Values of an aggregate result, typed as the engine reports its columns.
#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

namespace uriage::data {

enum class FieldType {
    Int16,      // 16-bit whole number (SMALLINT)
    UInt16,     // unsigned 16-bit whole number
    Int32,      // 32-bit whole number (INTEGER, INT, COUNT(*))
    Float,      // floating point (REAL, FLOAT, DOUBLE, NUMERIC, every SUM)
    Currency,   // MONEY, CURRENCY
    Date,       // day number since 1899-12-30
    Text,       // TEXT, VARCHAR
    Bytes,      // raw bytes (BLOB)
    Memo,       // large object (text)
    Graphic,    // large object (binary)
};

struct ColumnInfo {
    QString name;   // as the engine reports it
    FieldType type = FieldType::Float;
};

// A null, a whole number, a floating-point number, a date (day number since
// 30 December 1899) or a text.
struct DateValue {
    int32_t dayNumber = 0;
    friend bool operator==(const DateValue&, const DateValue&) = default;
};
using Value = std::variant<std::monostate, int64_t, double, DateValue, QString>;

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

using Row = std::vector<Value>;

struct ResultTable {
    std::vector<ColumnInfo> columns;
    std::vector<Row> rows;
};

} // namespace uriage::data
