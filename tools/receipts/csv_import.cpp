#include "csv_import.h"

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

// One CSV record: fields separated by ",", a field in double quotes may hold
// commas and doubled quotes. Returns false on an unclosed quote.
bool splitRecord(const QString& line, QStringList* fields)
{
    fields->clear();
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QChar('"')) {
                if (i + 1 < line.size() && line[i + 1] == QChar('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QChar('"') && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == QChar(',')) {
            *fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    *fields << field.trimmed();
    return !quoted;
}

} // namespace

CsvResult parseReceiptsCsv(const QByteArray& content)
{
    CsvResult result;
    const QStringList lines = decode(content).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    int headerLine = 0;
    while (headerLine < lines.size() && lines[headerLine].trimmed().isEmpty())
        ++headerLine;
    if (headerLine >= lines.size()) {
        result.errors << QStringLiteral("1: no header line");
        return result;
    }
    QStringList header;
    if (!splitRecord(lines[headerLine], &header)) {
        result.errors << QStringLiteral("%1: unclosed quote in the header").arg(headerLine + 1);
        return result;
    }
    std::array<int, 8> position{};
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        position[c] = int(header.indexOf(kColumns[c]));
        if (position[c] < 0)
            result.errors << QStringLiteral("%1: the header lacks the column %2").arg(headerLine + 1).arg(kColumns[c]);
    }
    if (!result.errors.isEmpty())
        return result;

    static const QRegularExpression datePattern(QStringLiteral(R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})$)"));
    QStringList fields;
    for (int n = headerLine + 1; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.trimmed().isEmpty())
            continue;
        const int lineNumber = n + 1;
        if (!splitRecord(line, &fields)) {
            result.errors << QStringLiteral("%1: unclosed quote").arg(lineNumber);
            continue;
        }
        if (fields.size() != header.size()) {
            result.errors << QStringLiteral("%1: %2 fields where the header names %3")
                                 .arg(lineNumber).arg(fields.size()).arg(header.size());
            continue;
        }
        Receipt r;
        QStringList problems;
        const QString date = fields[position[0]];
        if (!date.isEmpty()) {
            const auto m = datePattern.match(date);
            const QDate d = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
            if (d.isValid())
                r.treatmentDate = d.toString(QStringLiteral("yyyy-MM-dd"));
            else
                problems << QStringLiteral("施術日 '%1' is not a date (YYYY-MM-DD)").arg(date);
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
                problems << QStringLiteral("%1 '%2' is not a whole number").arg(kColumns[1 + p], text);
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
                problems << QStringLiteral("%1 '%2' is not a number").arg(kColumns[4 + a], text);
        }
        if (!problems.isEmpty()) {
            result.errors << QStringLiteral("%1: %2").arg(lineNumber).arg(problems.join(QStringLiteral("; ")));
            continue;
        }
        result.receipts.push_back(std::move(r));
    }
    return result;
}

} // namespace receipts
