// Arbitrary bytes as filter text against the result columns of both kinds of
// aggregate query: the compiler must give a filter that evaluates every row, or
// fail with one of the messages a filter text can fail with. Anything else
// (a crash, a hang, another exception, another message) aborts.
#include "common/failure.h"
#include "data/filter/filter.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

using namespace uriage;
using namespace uriage::data;

namespace {

// The failure messages, "%s" standing for any text.
const char* const messages[] = {
    "フィルター式に不正な文字 '%s' が含まれています。",
    "文字列定数が不完全です",
    "項目名が不完全です",
    "キーワードが間違っています",
    "式が必要な場所に %s。",
    "')' が必要な場所に%sがあります。",
    "'(' が必要なところに %s が現れました。",
    "')' または ',' が必要なところに %s が現れました。",
    "IN 述語のリストは空であってはならない",
    "フィルター式中の数値演算はサポートされていません",
    "フィルター式が正しく終わっていません",
    "フィルター式の形式が正しくありません",
    "式内の型不一致",
    "Query1: 項目 '%s' が見つかりません",
    "Query2: 項目 '%s' が見つかりません",
    "'%s' は整数ではありません",
    "'%s' は浮動小数点数ではありません",
    "'%s' は日付ではありません",
    "定数が範囲を超えています",
    "NULL は '=' または '<>' 以外と組み合わせることはできません",
};

const std::vector<QRegularExpression>& patterns()
{
    static const std::vector<QRegularExpression> all = [] {
        std::vector<QRegularExpression> list;
        for (const char* m : messages) {
            const QStringList parts = QString::fromUtf8(m).split(QStringLiteral("%s"));
            QStringList escaped;
            for (const QString& part : parts)
                escaped << QRegularExpression::escape(part);
            list.emplace_back(QStringLiteral("\\A") + escaped.join(QStringLiteral(".*")) + QStringLiteral("\\z"),
                              QRegularExpression::DotMatchesEverythingOption);
        }
        return list;
    }();
    return all;
}

bool isFilterMessage(const QString& message)
{
    for (const QRegularExpression& p : patterns())
        if (p.match(message).hasMatch())
            return true;
    return false;
}

std::vector<ColumnInfo> columns(bool daily, FieldType whole)
{
    std::vector<ColumnInfo> c;
    if (daily)
        c.push_back({"施術日", FieldType::Date});
    c.push_back({"年", whole});
    c.push_back({"月", whole});
    if (daily)
        c.push_back({"日", whole});
    for (const char* name : {"COUNT(*)"})
        c.push_back({name, FieldType::Int32});
    for (const char* name : {"保険料金合計の合計", "SUM(一部負担金)", "保険外料金の合計", "SUM(合計金額)"})
        c.push_back({QString::fromUtf8(name), FieldType::Float});
    return c;
}

std::vector<Row> rows(bool daily)
{
    std::vector<Row> r;
    Row full{DateValue{38412}, int64_t(2005), int64_t(3), int64_t(1), int64_t(2), 2000.5, 600.0, 0.0, 2600.5};
    Row blank(9);
    if (!daily) {
        full.erase(full.begin() + 3);
        full.erase(full.begin());
        blank.resize(7);
    }
    r.push_back(full);
    r.push_back(blank);
    r.push_back(Row{});  // a short row must not be read past its end
    return r;
}

RegionalSettings settings(QChar decimal)
{
    RegionalSettings s;
    s.shortDateFormat = QStringLiteral("yyyy/MM/dd");
    s.shortTimeFormat = QStringLiteral("H:mm");
    s.thousandsSeparator = QLatin1Char(',');
    s.decimalSeparator = decimal;
    return s;
}

void run(const QByteArray& text, bool daily, FieldType whole, QChar decimal)
{
    try {
        auto filter = compileFilter(text, columns(daily, whole), daily ? "Query1" : "Query2", settings(decimal));
        if (!filter)
            std::abort();
        for (const Row& row : rows(daily))
            (void)filter->passes(row);
    } catch (const Failure& failure) {
        if (!isFilterMessage(failure.message())) {
            std::fprintf(stderr, "unexpected message: %s\n", failure.message().toUtf8().constData());
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    run(text, true, FieldType::Int16, QLatin1Char('.'));
    run(text, false, FieldType::Int32, QLatin1Char('.'));
    run(text, true, FieldType::Int32, QLatin1Char(','));
    return 0;
}
