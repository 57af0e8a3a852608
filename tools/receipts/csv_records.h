#pragma once
// The records of a CSV text (RFC 4180, as spreadsheet exports write it):
// fields separated by ",", records by a line break (CR LF, LF or CR). A field
// in double quotes may hold commas, line breaks and doubled quotes. Fields are
// trimmed of surrounding blanks; a quote opens a quoted field only at the
// field's start.
#include <QString>
#include <QStringList>
#include <vector>

namespace receipts {

struct CsvRecord {
    int line = 0;               // the line the record starts on, from 1
    QStringList fields;
    bool blank = false;         // nothing but blanks on the line
    bool unclosedQuote = false; // a quoted field runs to the end of the text
};

std::vector<CsvRecord> splitCsvRecords(const QString& text);

} // namespace receipts
