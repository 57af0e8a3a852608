#include "data/statement/work_database.h"

#include "data/database_path.h"
#include "data/engine_error.h"
#include "data/image/image_room.h"
#include "data/snapshot/table_snapshot.h"
#include "data/sqlite/sqlite_status.h"

#include <algorithm>

namespace uriage::data {
namespace {

const char* encodingName(int encoding)
{
    switch (encoding) {
    case kUtf16le:
        return "UTF-16le";
    case kUtf16be:
        return "UTF-16be";
    default:
        return "UTF-8";
    }
}

DatabaseHandle openInMemory()
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE
                                                          | SQLITE_OPEN_MEMORY, nullptr);
    DatabaseHandle db(raw);
    if (code != SQLITE_OK) {
        if (!raw)
            throw EngineError(EngineStatus::OutOfMemory);
        failFromSqlite(db.get(), code);
    }
    return db;
}

struct TableFileName {
    QString file;
    QString table;
};

// The table a name stands for: "X.db" is table X in the file X.db, a bare X
// the same; a name qualified by a schema is no table file.
std::optional<TableFileName> tableFileFor(const QString& name)
{
    if (name.startsWith(QLatin1String("main."), Qt::CaseInsensitive)
        || name.startsWith(QLatin1String("temp."), Qt::CaseInsensitive) || name.isEmpty())
        return std::nullopt;
    const bool withSuffix = name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive);
    TableFileName result{withSuffix ? name : name + QStringLiteral(".db"), withSuffix ? name.chopped(3) : name};
    if (result.table.isEmpty())
        return std::nullopt;
    return result;
}

// The copy's schema cannot be read: the file is no database, unless SQLite ran
// out of memory on the way.
[[noreturn]] void failReadingSchema(int code, const QString& filePath)
{
    if (statusForSqliteCode(code) == EngineStatus::OutOfMemory)
        throw EngineError(EngineStatus::OutOfMemory, {fileContext(filePath)});
    throw EngineError(EngineStatus::NotADatabase, {fileContext(filePath)});
}

// Ends the running statement (SQLITE_INTERRUPT) once the time is up.
int pastTimeLimit(void* context)
{
    return static_cast<const WorkDatabase*>(context)->outOfTime() ? 1 : 0;
}

} // namespace

WorkDatabase::~WorkDatabase()
{
    db_.reset();
    if (room_ && !images_.empty())
        room_->giveBack(std::move(images_.front()));
}

WorkDatabase::WorkDatabase(int encoding, const ReadLimits& limits, ImageRoom* room)
    : db_(openInMemory()), encoding_(encoding), room_(room), limits_(limits)
{
    clock_.start();
    sqlite3_progress_handler(db_.get(), 10000, pastTimeLimit, this);
    if (encoding != kUtf8)
        execute(QStringLiteral("PRAGMA encoding='%1'").arg(QLatin1String(encodingName(encoding))));
    disableQuotedStrings(db_.get());
    sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

bool WorkDatabase::outOfTime() const { return clock_.elapsed() >= limits_.statementMilliseconds; }

void WorkDatabase::execute(const QString& sql)
{
    const int code = sqlite3_exec(db_.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        failFromSqlite(db_.get(), sqlite3_extended_errcode(db_.get()));
}

std::optional<int> WorkDatabase::load(const QString& directory, const QString& name)
{
    const std::optional<TableFileName> target = tableFileFor(name);
    if (!target)
        throw EngineError(EngineStatus::TableMissing, {tableContext(name)});
    const QString schema = QStringLiteral("file%1").arg(tables_.size() + 1);
    execute(QStringLiteral("ATTACH ':memory:' AS ") + schema);
    const QString filePath = findEntry(directory, target->file);
    TableFileCopy copy = copyTableFile(db_.get(), schema.toUtf8().constData(), directory, filePath,
                                       images_.empty() ? room_ : nullptr, limits_.copy);
    lockMilliseconds_ += copy.lockMilliseconds;
    copyTries_ += copy.copyTries;
    const std::size_t imageSize = copy.image ? copy.image->size() : 0;
    const unsigned char* imageBytes = copy.image ? copy.image->data() : nullptr;
    if (copy.image)
        images_.push_back(std::move(copy.image));
    if (copy.textEncoding != 0 && copy.textEncoding != encoding_)
        return copy.textEncoding;
    if (imageSize > 0) {
        // Pages are read where they lie in the copy instead of through the page cache.
        execute(QStringLiteral("PRAGMA %1.mmap_size=%2").arg(schema).arg(qulonglong(imageSize)));
    }
    const QString actualName = lookUpTable(schema, target->table, filePath);
    execute(QStringLiteral("CREATE TEMP VIEW %1 AS SELECT * FROM %2.%3")
                .arg(quotedIdentifier(name), schema, quotedIdentifier(actualName)));
    tables_.push_back(LoadedTable{name, schema, actualName, imageBytes, imageSize, target->file, copy.proof});
    return std::nullopt;
}

namespace {

// The names of the columns a `SELECT *` over the table yields.
std::vector<QByteArray> columnNames(sqlite3* db, const LoadedTable& loaded)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_xinfo(?1, ?2) WHERE hidden <> 1", -1, &raw, nullptr)
        != SQLITE_OK)
        failFromSqlite(db, sqlite3_extended_errcode(db));
    StatementHandle stmt(raw);
    const QByteArray table = loaded.table.toUtf8();
    const QByteArray schema = loaded.schema.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt.get(), 2, schema.constData(), int(schema.size()), SQLITE_TRANSIENT);
    std::vector<QByteArray> names;
    int code = SQLITE_ROW;
    while ((code = sqlite3_step(stmt.get())) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    if (code != SQLITE_DONE)
        failFromSqlite(db, sqlite3_extended_errcode(db));
    return names;
}

// Below the largest whole number (about 9.22e18) by more than the rounding
// of adding up the magnitudes in floating point could hide.
constexpr double kNearIntegerLimit = 9.0e18;

} // namespace

void WorkDatabase::requireColumns(const QStringList& columns) const
{
    std::vector<QByteArray> known;
    for (const LoadedTable& loaded : tables_) {
        std::vector<QByteArray> names = columnNames(db_.get(), loaded);
        known.insert(known.end(), names.begin(), names.end());
    }
    for (const QString& column : columns) {
        const QByteArray wanted = column.toUtf8();
        // SQLite matches names ignoring the case of ASCII letters only.
        const bool found = std::any_of(known.begin(), known.end(), [&wanted](const QByteArray& name) {
            return sqlite3_stricmp(name.constData(), wanted.constData()) == 0;
        });
        if (!found)
            throw EngineError(EngineStatus::ColumnMissing, {columnContext(column)});
    }
}

bool WorkDatabase::sumsNearIntegerLimit(const QStringList& columns) const
{
    if (columns.isEmpty())
        return false;
    QStringList magnitudes;
    for (const QString& column : columns)
        magnitudes << QStringLiteral("total(abs(CAST(%1 AS REAL)))").arg(quotedIdentifier(column));
    for (const LoadedTable& loaded : tables_) {
        const QByteArray sql =
            QStringLiteral("SELECT %1 FROM %2").arg(magnitudes.join(QChar(',')), quotedIdentifier(loaded.view)).toUtf8();
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
            failFromSqlite(db_.get(), sqlite3_extended_errcode(db_.get()));
        StatementHandle stmt(raw);
        if (sqlite3_step(stmt.get()) != SQLITE_ROW)
            failFromSqlite(db_.get(), sqlite3_extended_errcode(db_.get()));
        for (int c = 0; c < int(columns.size()); ++c) {
            if (!(sqlite3_column_double(stmt.get(), c) < kNearIntegerLimit))
                return true;
        }
    }
    return false;
}

// The table's name as the file spells it, found by name (letter case ignored)
// in the copy's schema. A view or anything else under that name is no table:
// what it would compute is not what the receipt program saved.
QString WorkDatabase::lookUpTable(const QString& schema, const QString& tableName, const QString& filePath)
{
    const QByteArray lookup = QStringLiteral("SELECT name, type = 'table' FROM %1.sqlite_schema"
                                             " WHERE name = ?1 COLLATE NOCASE ORDER BY type = 'table' DESC LIMIT 1")
                                  .arg(schema)
                                  .toUtf8();
    sqlite3_stmt* raw = nullptr;
    int code = sqlite3_prepare_v2(db_.get(), lookup.constData(), -1, &raw, nullptr);
    StatementHandle stmt(raw);
    if (code != SQLITE_OK)
        failReadingSchema(code, filePath);
    const QByteArray tableUtf8 = tableName.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, tableUtf8.constData(), int(tableUtf8.size()), SQLITE_TRANSIENT);
    code = sqlite3_step(stmt.get());
    if (code == SQLITE_DONE)
        throw EngineError(EngineStatus::TableMissing, {tableContext(tableName), fileContext(filePath)});
    if (code != SQLITE_ROW)
        failReadingSchema(sqlite3_extended_errcode(db_.get()), filePath);
    if (sqlite3_column_int(stmt.get(), 1) == 0)
        throw EngineError(EngineStatus::NotATable, {tableContext(tableName), fileContext(filePath)});
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
}

} // namespace uriage::data
