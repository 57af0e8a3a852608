#pragma once
// Receipts from a CSV file: a header line naming the columns (the eight
// receipt columns, in any order), then one receipt a line. An empty field is a
// NULL. UTF-8 or the Japanese code page. Every bad line is reported with its
// number; nothing is written while any line is bad.
#include "receipt_writer.h"

#include <QStringList>
#include <vector>

namespace receipts {

struct CsvResult {
    std::vector<Receipt> receipts;
    QStringList errors;   // "LINE: message"
};

CsvResult parseReceiptsCsv(const QByteArray& content);

} // namespace receipts
