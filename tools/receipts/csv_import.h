#pragma once
// Receipts from a CSV file: a header line naming the columns (the eight
// receipt columns, in any order), then one receipt a record (a quoted field
// may hold commas, doubled quotes and line breaks). An empty field is a
// NULL. UTF-8 or the Japanese code page. Every bad line is reported with its
// number; nothing is written while any line is bad.
#include "receipt_writer.h"

#include <QStringList>
#include <vector>

namespace receipts {

struct CsvResult {
    std::vector<Receipt> receipts;
    QStringList errors;   // "LINE: message", LINE where the record starts
};

CsvResult parseReceiptsCsv(const QByteArray& content);

} // namespace receipts
