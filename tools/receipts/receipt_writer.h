#pragma once
// Writes a receipt table file: the table 領収証記録 with its declared columns,
// all receipts in one transaction through one prepared insert. The file is
// written beside its final name and moved into place when complete.
#include <QString>
#include <optional>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace receipts {

struct Receipt {
    std::optional<QString> treatmentDate;   // 'YYYY-MM-DD'
    std::optional<int> year, month, day;
    std::optional<double> insuranceTotal, copayment, uninsured, total;
};

class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ReceiptWriter {
public:
    // Refuses an existing table file unless `replace`.
    ReceiptWriter(const QString& directory, bool replace);
    ~ReceiptWriter();
    ReceiptWriter(const ReceiptWriter&) = delete;
    ReceiptWriter& operator=(const ReceiptWriter&) = delete;

    void add(const Receipt& receipt);
    // Commits and moves the file into place; returns its path.
    QString finish();
    long long count() const { return count_; }

private:
    QString finalPath_;
    QString tempPath_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    long long count_ = 0;
};

} // namespace receipts
