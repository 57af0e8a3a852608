#include "data/engine.h"

#include "data/database_path.h"
#include "data/engine_error.h"
#include "data/statement/statement_runner.h"

#include <sqlite3.h>

namespace uriage::data {
namespace {

// The library is linked with the program, never loaded from a directory at run
// time. File names are plain paths, never URIs.
int startLibrary()
{
    sqlite3_config(SQLITE_CONFIG_URI, 0);
    return sqlite3_initialize();
}

} // namespace

Connection::Connection(QString name, QString directory, ReadLimits limits)
    : name_(std::move(name)), directory_(std::move(directory)), limits_(std::move(limits))
{
}

ResultTable Connection::run(const StatementRequest& statement)
{
    if (std::optional<ResultTable> kept = kept_.reuse(directory_, statement)) {
        lastLockMilliseconds_ = 0;
        lastCopyTries_ = 0;
        return std::move(*kept);
    }
    StatementResult result = runStatement(directory_, statement, limits_, &room_);
    kept_.keep(statement, result);
    lastLockMilliseconds_ = result.lockMilliseconds;
    lastCopyTries_ = result.copyTries;
    return std::move(result.table);
}

Engine::Engine(EngineOptions options) : options_(std::move(options))
{
    if (!options_.startLibrary)
        options_.startLibrary = startLibrary;
}

void Engine::start()
{
    if (started_)
        return;
    if (options_.busy)
        options_.busy(true);
    int code = SQLITE_ERROR;
    try {
        code = options_.startLibrary();
    } catch (...) {
        if (options_.busy)
            options_.busy(false);
        throw;
    }
    if (options_.busy)
        options_.busy(false);
    if (code != SQLITE_OK)
        throw EngineError::whileStarting((code & 0xff) == SQLITE_NOMEM ? EngineStatus::OutOfMemory
                                                                       : EngineStatus::StartFailed);
    started_ = true;
}

std::shared_ptr<Connection> Engine::connect(const QString& databaseName)
{
    for (const auto& connection : connections_) {
        if (connection->name().compare(databaseName, Qt::CaseInsensitive) == 0)
            return connection;
    }
    if (!isDirectoryPath(databaseName))
        throw EngineError(EngineStatus::UnknownDatabase, {databaseName});
    auto connection = std::make_shared<Connection>(databaseName, nativeDirectory(databaseName), options_.limits);
    connections_.push_back(connection);
    return connection;
}

} // namespace uriage::data
