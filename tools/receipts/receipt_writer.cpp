#include "receipt_writer.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

namespace receipts {
namespace {

const char* kSchema =
    "CREATE TABLE 領収証記録 ("
    " 領収証番号 INTEGER PRIMARY KEY,"
    " 施術日 DATE,"
    " 年 SMALLINT,"
    " 月 SMALLINT,"
    " 日 SMALLINT,"
    " 保険料金合計 MONEY,"
    " 一部負担金 MONEY,"
    " 保険外料金 MONEY,"
    " 合計金額 MONEY)";

const char* kInsert =
    "INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";

// SQLite takes UTF-8 file names on Windows and the system's bytes elsewhere.
QByteArray sqliteFileName(const QString& path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

// Puts `from` in the place of `to`: at once where the system can (rename on
// POSIX); on Windows, whose rename refuses an existing target, after removing it.
bool replaceFile(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    QFile::remove(to);
    return QFile::rename(from, to);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

} // namespace

ReceiptWriter::ReceiptWriter(const QString& directory, bool replace)
{
    if (!QDir(directory).exists() && !QDir().mkpath(directory))
        throw WriteError("cannot create the directory " + directory.toStdString());
    finalPath_ = QDir(directory).filePath(QStringLiteral("領収証記録.db"));
    tempPath_ = finalPath_ + QStringLiteral(".new");
    if (QFile::exists(finalPath_) && !replace)
        throw WriteError(finalPath_.toStdString() + " exists; use --replace to overwrite it");
    QFile::remove(tempPath_);
    if (sqlite3_open(sqliteFileName(tempPath_).constData(), &db_) != SQLITE_OK)
        throw WriteError("cannot create " + tempPath_.toStdString() + ": " + sqlite3_errmsg(db_));
    const char* setup = "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;";
    if (sqlite3_exec(db_, setup, nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db_, kInsert, -1, &insert_, nullptr) != SQLITE_OK)
        throw WriteError(std::string("cannot write the table: ") + sqlite3_errmsg(db_));
}

ReceiptWriter::~ReceiptWriter()
{
    sqlite3_finalize(insert_);
    if (db_) {
        sqlite3_close(db_);
        QFile::remove(tempPath_);
    }
}

void ReceiptWriter::add(const Receipt& r)
{
    QByteArray date;
    if (r.treatmentDate) {
        date = r.treatmentDate->toUtf8();
        sqlite3_bind_text(insert_, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(insert_, 1);
    }
    const std::optional<int> parts[] = {r.year, r.month, r.day};
    for (int i = 0; i < 3; ++i) {
        if (parts[i])
            sqlite3_bind_int(insert_, 2 + i, *parts[i]);
        else
            sqlite3_bind_null(insert_, 2 + i);
    }
    const std::optional<double> amounts[] = {r.insuranceTotal, r.copayment, r.uninsured, r.total};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double>& a = amounts[i];
        if (!a)
            sqlite3_bind_null(insert_, 5 + i);
        else if (*a == double(static_cast<long long>(*a)))
            sqlite3_bind_int64(insert_, 5 + i, static_cast<long long>(*a));   // whole yen
        else
            sqlite3_bind_double(insert_, 5 + i, *a);
    }
    if (sqlite3_step(insert_) != SQLITE_DONE)
        throw WriteError(std::string("cannot write a receipt: ") + sqlite3_errmsg(db_));
    sqlite3_reset(insert_);
    ++count_;
}

QString ReceiptWriter::finish()
{
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw WriteError(std::string("cannot commit: ") + sqlite3_errmsg(db_));
    sqlite3_close(db_);
    db_ = nullptr;
    // A journal or WAL file left by the old table would be applied to the new
    // one: remove them before the new file takes the name.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(finalPath_ + QString::fromLatin1(suffix));
    if (!replaceFile(tempPath_, finalPath_)) {
        QFile::remove(tempPath_);
        throw WriteError("cannot move the new table to " + finalPath_.toStdString());
    }
    return finalPath_;
}

} // namespace receipts
