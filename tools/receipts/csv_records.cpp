#include "csv_records.h"

namespace receipts {
namespace {

// Walks the text one character at a time, one record after another.
class RecordReader {
public:
    explicit RecordReader(const QString& text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }

    CsvRecord next()
    {
        CsvRecord record;
        record.line = line_;
        QString field;
        bool quoted = false;
        bool onlyBlanks = true;
        while (!atEnd()) {
            const QChar c = text_[at_];
            if (quoted) {
                quoted = readQuoted(c, &field);
                continue;
            }
            if (isLineBreak(c)) {
                skipLineBreak();
                break;
            }
            ++at_;
            if (!c.isSpace())
                onlyBlanks = false;
            if (c == QChar('"') && field.trimmed().isEmpty()) {
                field.clear();
                quoted = true;
            } else if (c == QChar(',')) {
                record.fields << field.trimmed();
                field.clear();
            } else {
                field += c;
            }
        }
        record.fields << field.trimmed();
        record.blank = onlyBlanks;
        record.unclosedQuote = quoted;
        return record;
    }

private:
    static bool isLineBreak(QChar c) { return c == QChar('\n') || c == QChar('\r'); }

    // Counts one line break (CR LF, LF or CR) and steps over it.
    void skipLineBreak()
    {
        const bool crlf = text_[at_] == QChar('\r') && at_ + 1 < text_.size() && text_[at_ + 1] == QChar('\n');
        at_ += crlf ? 2 : 1;
        ++line_;
    }

    // One character inside a quoted field; false where the field's quotes close.
    bool readQuoted(QChar c, QString* field)
    {
        if (c == QChar('"')) {
            const bool doubled = at_ + 1 < text_.size() && text_[at_ + 1] == QChar('"');
            at_ += doubled ? 2 : 1;
            if (doubled)
                *field += c;
            return doubled;
        }
        if (isLineBreak(c)) {
            const qsizetype from = at_;
            skipLineBreak();
            *field += text_.mid(from, at_ - from);
            return true;
        }
        *field += c;
        ++at_;
        return true;
    }

    const QString& text_;
    qsizetype at_ = 0;
    int line_ = 1;
};

} // namespace

std::vector<CsvRecord> splitCsvRecords(const QString& text)
{
    std::vector<CsvRecord> records;
    RecordReader reader(text);
    while (!reader.atEnd())
        records.push_back(reader.next());
    return records;
}

} // namespace receipts
