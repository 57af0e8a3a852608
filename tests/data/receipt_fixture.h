#pragma once
// Receipt tables in temporary data directories, written with SQLite directly,
// and the helpers the data tests share: opening a query on a directory and
// reading its rows as display texts, fingerprints of a directory's files.
#include "data/engine.h"
#include "data/engine_error.h"
#include "common/failure.h"
#include "data/query.h"
#include "common/regional_settings.h"
#include "platform/file_access.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <ostream>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace uriage::data::testing {

inline const char* kTableFile = "領収証記録.db";

// The columns a receipt program declares, in order.
inline const char* kReceiptSchema =
    "CREATE TABLE 領収証記録 (領収証番号 INTEGER PRIMARY KEY, 施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT,"
    " 保険料金合計 MONEY, 一部負担金 MONEY, 保険外料金 MONEY, 合計金額 MONEY)";

// One receipt as SQL literals: 施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額.
using Receipt = std::vector<const char*>;

inline void execSql(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "SQL failed: " << (error ? error : "?") << " in " << sql.toStdString();
        sqlite3_free(error);
    }
}

inline QString insertSql(const Receipt& r)
{
    QStringList values;
    for (const char* v : r)
        values << QString::fromUtf8(v);
    return QStringLiteral("INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額) VALUES (%1);")
        .arg(values.join(QStringLiteral(", ")));
}

class ReceiptDirectory {
public:
    ReceiptDirectory() { EXPECT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.path(); }
    QString tablePath() const { return dir_.filePath(QString::fromUtf8(kTableFile)); }

    // Writes the table file with `schema` and the receipts; `before` runs first
    // (a page size or journal mode).
    void write(const std::vector<Receipt>& receipts, const QString& schema = QString::fromUtf8(kReceiptSchema),
               const QString& before = {})
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(platform::pathBytes(tablePath()).constData(), &db), SQLITE_OK);
        if (!before.isEmpty())
            execSql(db, before);
        execSql(db, schema);
        execSql(db, QStringLiteral("BEGIN"));
        for (const Receipt& r : receipts)
            execSql(db, insertSql(r));
        execSql(db, QStringLiteral("COMMIT"));
        sqlite3_close(db);
    }

    void add(const Receipt& r)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(platform::pathBytes(tablePath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        execSql(db, insertSql(r));
        sqlite3_close(db);
    }

    // Every file of the directory with a hash of its bytes.
    std::map<QString, QByteArray> fingerprint() const
    {
        std::map<QString, QByteArray> files;
        for (const QString& name : QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            QFile f(dir_.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                files[name] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
            else
                files[name] = "unreadable";
        }
        return files;
    }

    // Every entry of the directory as the system lists it: its kind, mode,
    // size and modification time, and for a regular file of up to 64 MB a
    // hash of its bytes. Pipes and devices are listed, never opened.
    std::map<QString, QByteArray> directoryState() const
    {
        std::map<QString, QByteArray> entries;
        const auto filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        for (const QString& name : QDir(path()).entryList(filters)) {
            const QString entry = dir_.filePath(name);
            bool regular = false;
            long long size = 0;
            QByteArray line = entryState(entry, &regular, &size);
            QFile f(entry);
            if (regular && size <= (64 << 20) && f.open(QIODevice::ReadOnly))
                line += ' ' + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
            entries[name] = line;
        }
        return entries;
    }

private:
#ifdef Q_OS_WIN
    // Windows has no lstat: the kind, permissions, size and time (to the
    // millisecond) as Qt reads them.
    static QByteArray entryState(const QString& entry, bool* regular, long long* size)
    {
        const QFileInfo info(entry);
        if (!info.exists() && !info.isSymLink())
            return "vanished";
        *regular = info.isFile() && !info.isSymLink();
        *size = info.size();
        const QByteArray kind = info.isSymLink() ? "link" : info.isDir() ? "directory" : *regular ? "file" : "other";
        return kind + ' ' + QByteArray::number(int(info.permissions()), 16) + ' ' + QByteArray::number(*size) + ' '
               + QByteArray::number(info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch());
    }
#else
    // The entry itself (a link is not followed), its time to the nanosecond.
    static QByteArray entryState(const QString& entry, bool* regular, long long* size)
    {
        struct stat st {};
        if (lstat(QFile::encodeName(entry).constData(), &st) != 0)
            return "vanished";
        *regular = S_ISREG(st.st_mode);
        *size = st.st_size;
        return QByteArray::number(qulonglong(st.st_mode)) + ' ' + QByteArray::number(qlonglong(st.st_size)) + ' '
               + QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.' + QByteArray::number(qlonglong(st.st_mtim.tv_nsec));
    }
#endif

    QTemporaryDir dir_;
};

// The rows of an open query as "v|v|..." display texts.
inline QStringList readRows(Query& query)
{
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList values;
        for (std::size_t c = 0; c < query.fieldCount(); ++c)
            values << (query.field(c).isNull() ? QStringLiteral("null") : query.field(c).displayText());
        rows << values.join(QChar('|'));
    }
    return rows;
}

// The message of the Failure `action` throws; empty when it throws none.
template <typename F>
QString failureOf(F&& action)
{
    try {
        action();
    } catch (const uriage::Failure& failure) {
        return failure.message();
    }
    return {};
}

// The engine's status when `action` fails with an engine error; nothing when
// it succeeds or fails otherwise.
template <typename F>
std::optional<EngineStatus> engineStatusOf(F&& action)
{
    try {
        action();
    } catch (const EngineError& error) {
        return error.status();
    } catch (const uriage::Failure&) {
    }
    return std::nullopt;
}

// An open of a query of `kind` on `directory`: its rows ("v|v|...", one a
// line) or its message.
inline QString openedIn(Engine& engine, const QString& directory, QueryKind kind)
{
    Query query(engine, "Query1", kind);
    query.setDatabaseName(directory);
    const QString message = failureOf([&] { query.open(); });
    return message.isEmpty() ? readRows(query).join(QChar('\n')) : message;
}

// Each test starts with a fresh engine of the program's options and
// Japanese regional settings.
class DataTest : public ::testing::Test {
protected:
    void SetUp() override { RegionalSettings::inject(RegionalSettings::japanese()); }
    void TearDown() override { RegionalSettings::reset(); }

    Engine engine;
};

} // namespace uriage::data::testing
