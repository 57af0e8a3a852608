#include "csv_import.h"
#include "csv_records.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringDecoder>
#include <array>
#include <cmath>

namespace receipts {
namespace {

const std::array<QString, 8> kColumns = {"施術日", "年", "月", "日", "保険料金合計", "一部負担金", "保険外料金", "合計金額"};

QString decode(const QByteArray& content)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    QStringDecoder sjis("Shift_JIS");
    return sjis.decode(content);
}

// One receipt from its fields; what is wrong with them goes to `problems`.
Receipt receiptFromFields(const QStringList& fields, const std::array<int, 8>& position, QStringList* problems)
{
    static const QRegularExpression datePattern(QStringLiteral(R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})$)"));
    Receipt r;
    const QString date = fields[position[0]];
    if (!date.isEmpty()) {
        const auto m = datePattern.match(date);
        const QDate d = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
        if (d.isValid())
            r.treatmentDate = d.toString(QStringLiteral("yyyy-MM-dd"));
        else
            *problems << QStringLiteral("施術日 '%1' is not a date (YYYY-MM-DD)").arg(date);
    }
    std::optional<int>* parts[] = {&r.year, &r.month, &r.day};
    for (int p = 0; p < 3; ++p) {
        const QString text = fields[position[1 + p]];
        if (text.isEmpty())
            continue;
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok && v >= -32768 && v <= 32767)
            *parts[p] = v;
        else
            *problems << QStringLiteral("%1 '%2' is not a whole number").arg(kColumns[1 + p], text);
    }
    std::optional<double>* amounts[] = {&r.insuranceTotal, &r.copayment, &r.uninsured, &r.total};
    for (int a = 0; a < 4; ++a) {
        const QString text = fields[position[4 + a]];
        if (text.isEmpty())
            continue;
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (ok && std::isfinite(v))
            *amounts[a] = v;
        else
            *problems << QStringLiteral("%1 '%2' is not a number").arg(kColumns[4 + a], text);
    }
    return r;
}

} // namespace

CsvResult parseReceiptsCsv(const QByteArray& content)
{
    CsvResult result;
    const std::vector<CsvRecord> records = splitCsvRecords(decode(content));
    auto record = records.begin();
    while (record != records.end() && record->blank)
        ++record;
    if (record == records.end()) {
        result.errors << QStringLiteral("1: no header line");
        return result;
    }
    if (record->unclosedQuote) {
        result.errors << QStringLiteral("%1: unclosed quote in the header").arg(record->line);
        return result;
    }
    const QStringList header = record->fields;
    const int headerLine = record->line;
    std::array<int, 8> position{};
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        position[c] = int(header.indexOf(kColumns[c]));
        if (position[c] < 0)
            result.errors << QStringLiteral("%1: the header lacks the column %2").arg(headerLine).arg(kColumns[c]);
    }
    if (!result.errors.isEmpty())
        return result;

    for (++record; record != records.end(); ++record) {
        if (record->blank)
            continue;
        const int lineNumber = record->line;
        const QStringList& fields = record->fields;
        if (record->unclosedQuote) {
            result.errors << QStringLiteral("%1: unclosed quote").arg(lineNumber);
            continue;
        }
        if (fields.size() != header.size()) {
            result.errors << QStringLiteral("%1: %2 fields where the header names %3")
                                 .arg(lineNumber).arg(fields.size()).arg(header.size());
            continue;
        }
        QStringList problems;
        Receipt r = receiptFromFields(fields, position, &problems);
        if (!problems.isEmpty()) {
            result.errors << QStringLiteral("%1: %2").arg(lineNumber).arg(problems.join(QStringLiteral("; ")));
            continue;
        }
        result.receipts.push_back(std::move(r));
    }
    return result;
}

} // namespace receipts
