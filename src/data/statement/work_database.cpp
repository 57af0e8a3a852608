#include "data/statement/work_database.h"

#include "data/database_path.h"
#include "data/engine_error.h"
#include "data/image/image_room.h"
#include "data/snapshot/table_snapshot.h"
#include "data/sqlite/sqlite_status.h"

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
            throw engineFailure(EngineStatus::OutOfMemory);
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
    if (statusForSqliteCode(code) == std::uint16_t(EngineStatus::OutOfMemory))
        throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
    throw engineFailure(EngineStatus::NotADatabase, {{0, fileContext(filePath)}});
}

constexpr int kDefaultTimeLimitMilliseconds = 60000;
int timeLimitMilliseconds = kDefaultTimeLimitMilliseconds;

// Ends the running statement (SQLITE_INTERRUPT) once the time is up.
int pastTimeLimit(void* context)
{
    return static_cast<const QElapsedTimer*>(context)->elapsed() >= timeLimitMilliseconds ? 1 : 0;
}

} // namespace

void setStatementTimeLimit(int milliseconds)
{
    timeLimitMilliseconds = milliseconds > 0 ? milliseconds : kDefaultTimeLimitMilliseconds;
}

WorkDatabase::~WorkDatabase()
{
    db_.reset();
    if (room_ && !images_.empty())
        room_->giveBack(std::move(images_.front()));
}

WorkDatabase::WorkDatabase(int encoding, ImageRoom* room) : db_(openInMemory()), encoding_(encoding), room_(room)
{
    clock_.start();
    sqlite3_progress_handler(db_.get(), 10000, pastTimeLimit, &clock_);
    if (encoding != kUtf8)
        execute(QStringLiteral("PRAGMA encoding='%1'").arg(QLatin1String(encodingName(encoding))));
    disableQuotedStrings(db_.get());
    sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

bool WorkDatabase::outOfTime() const { return clock_.elapsed() >= timeLimitMilliseconds; }

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
        throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(name)}});
    const QString schema = QStringLiteral("file%1").arg(tables_.size() + 1);
    execute(QStringLiteral("ATTACH ':memory:' AS ") + schema);
    const QString filePath = findEntry(directory, target->file);
    TableFileCopy copy = copyTableFile(db_.get(), schema.toUtf8().constData(), directory, filePath,
                                       images_.empty() ? room_ : nullptr);
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
    tables_.push_back(LoadedTable{name, schema, actualName, imageBytes, imageSize});
    return std::nullopt;
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
        throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(tableName)}, {0, fileContext(filePath)}});
    if (code != SQLITE_ROW)
        failReadingSchema(sqlite3_extended_errcode(db_.get()), filePath);
    if (sqlite3_column_int(stmt.get(), 1) == 0)
        throw engineFailure(EngineStatus::NotATable, {{0, tableContext(tableName)}, {0, fileContext(filePath)}});
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
}

} // namespace uriage::data
