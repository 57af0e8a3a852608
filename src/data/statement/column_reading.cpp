#include "data/statement/column_reading.h"

#include "common/day_number.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace uriage::data {

FieldType fieldTypeForDeclaredType(const QString& declaredType)
{
    QString t = declaredType.trimmed().toUpper();
    const qsizetype paren = t.indexOf(QChar('('));
    if (paren >= 0)
        t = t.left(paren).trimmed();
    const QString word = t.section(QChar(' '), 0, 0);
    if (word == QLatin1String("SMALLINT"))
        return FieldType::Int16;
    if (word == QLatin1String("INTEGER") || word == QLatin1String("INT"))
        return FieldType::Int32;
    if (word == QLatin1String("REAL") || word == QLatin1String("FLOAT") || word == QLatin1String("DOUBLE")
        || word == QLatin1String("NUMERIC"))
        return FieldType::Float;
    if (word == QLatin1String("MONEY") || word == QLatin1String("CURRENCY"))
        return FieldType::Currency;
    if (word == QLatin1String("DATE"))
        return FieldType::Date;
    if (word == QLatin1String("TEXT") || word == QLatin1String("VARCHAR"))
        return FieldType::Text;
    if (word == QLatin1String("BLOB"))
        return FieldType::Bytes;
    // The affinity rules of SQLite, in their order.
    if (t.contains(QLatin1String("INT")))
        return FieldType::Int32;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        return FieldType::Text;
    if (t.isEmpty() || t.contains(QLatin1String("BLOB")))
        return FieldType::Bytes;
    return FieldType::Float;
}

namespace {

QString unquoteIdentifier(QString name)
{
    name = name.trimmed();
    if (name.size() >= 2) {
        const QChar first = name.front();
        const QChar last = name.back();
        if ((first == QChar('"') && last == QChar('"')) || (first == QChar('`') && last == QChar('`'))
            || (first == QChar('[') && last == QChar(']'))) {
            QString inner = name.mid(1, name.size() - 2);
            if (first != QChar('['))
                inner.replace(QString(2, first), QString(first));
            return inner;
        }
    }
    return name;
}

} // namespace

ColumnInfo describeResultColumn(const QString& sqliteName, const QString& declaredType)
{
    if (!declaredType.isEmpty())
        return {sqliteName, fieldTypeForDeclaredType(declaredType)};
    static const QRegularExpression count(QStringLiteral(R"(^\s*COUNT\s*\(\s*\*\s*\)\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression countAny(QStringLiteral(R"(^\s*COUNT\s*\()"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression sumOfColumn(
        QStringLiteral(R"re(^\s*SUM\s*\(\s*("[^"]+"|\[[^\]]+\]|`[^`]+`|[^\s()"'\[\]`+\-*/|,.<>=!]+)\s*\)\s*$)re"),
        QRegularExpression::CaseInsensitiveOption);
    if (count.match(sqliteName).hasMatch())
        return {QStringLiteral("COUNT(*)"), FieldType::Int32};
    if (countAny.match(sqliteName).hasMatch())
        return {sqliteName, FieldType::Int32};
    if (const auto m = sumOfColumn.match(sqliteName); m.hasMatch())
        return {unquoteIdentifier(m.captured(1)) + QStringLiteral("の合計"), FieldType::Float};
    return {sqliteName, FieldType::Float};
}

namespace {

std::optional<int64_t> wholeNumber(const StoredValue& stored, int64_t low, int64_t high)
{
    int64_t v = 0;
    if (stored.kind == StoredValue::Kind::Integer) {
        v = stored.integer;
    } else if (stored.kind == StoredValue::Kind::Real) {
        const double r = stored.real;
        if (!std::isfinite(r) || r != std::floor(r) || r < double(low) || r > double(high))
            return std::nullopt;
        v = static_cast<int64_t>(r);
    } else {
        return std::nullopt;
    }
    if (v < low || v > high)
        return std::nullopt;
    return v;
}

// 'YYYY-MM-DD', exactly: ten bytes, nothing after them.
std::optional<DateValue> dateFromText(const QByteArray& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    constexpr int kFirst[3] = {0, 5, 8};
    constexpr int kDigits[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = kFirst[p]; i < kFirst[p] + kDigits[p]; ++i) {
            const char c = text[i];
            if (c < '0' || c > '9')
                return std::nullopt;
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid())
        return std::nullopt;
    return DateValue{static_cast<int32_t>(dayNumberOf(date))};
}

} // namespace

std::optional<Value> readValue(const StoredValue& stored, FieldType type)
{
    using Kind = StoredValue::Kind;
    if (stored.kind == Kind::Null)
        return Value{};
    switch (type) {
    case FieldType::Int16:
        if (auto v = wholeNumber(stored, -32768, 32767))
            return Value{*v};
        return std::nullopt;
    case FieldType::UInt16:
        if (auto v = wholeNumber(stored, 0, 65535))
            return Value{*v};
        return std::nullopt;
    case FieldType::Int32:
        if (auto v = wholeNumber(stored, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
            return Value{*v};
        return std::nullopt;
    case FieldType::Float:
    case FieldType::Currency:
        if (stored.kind == Kind::Integer)
            return Value{static_cast<double>(stored.integer)};
        if (stored.kind == Kind::Real && std::isfinite(stored.real))
            return Value{stored.real};
        return std::nullopt;
    case FieldType::Date:
        if (stored.kind == Kind::Text) {
            if (auto d = dateFromText(stored.bytes))
                return Value{*d};
        }
        return std::nullopt;
    case FieldType::Text:
    case FieldType::Memo:
        if (stored.kind == Kind::Integer)
            return Value{QString::number(stored.integer)};
        if (stored.kind == Kind::Real)
            return Value{QString::number(stored.real, 'g', 15)};
        return Value{QString::fromUtf8(stored.bytes)};
    case FieldType::Bytes:
    case FieldType::Graphic:
        if (stored.kind == Kind::Blob || stored.kind == Kind::Text)
            return Value{QString::fromLatin1(stored.bytes)};
        return std::nullopt;
    }
    return std::nullopt;
}

QString storedValueText(const StoredValue& stored)
{
    switch (stored.kind) {
    case StoredValue::Kind::Null:
        return QStringLiteral("NULL");
    case StoredValue::Kind::Integer:
        return QString::number(stored.integer);
    case StoredValue::Kind::Real:
        return QString::number(stored.real, 'g', 17);
    case StoredValue::Kind::Text:
        return QChar('\'') + QString::fromUtf8(stored.bytes) + QChar('\'');
    case StoredValue::Kind::Blob:
        return QStringLiteral("X'") + QString::fromLatin1(stored.bytes.toHex().toUpper()) + QChar('\'');
    }
    return {};
}

} // namespace uriage::data
