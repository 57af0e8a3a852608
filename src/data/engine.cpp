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

Connection::Connection(QString name, QString directory) : name_(std::move(name)), directory_(std::move(directory)) {}

ResultTable Connection::run(const StatementRequest& statement)
{
    StatementResult result = runStatement(directory_, statement, &room_);
    lastLockMilliseconds_ = result.lockMilliseconds;
    lastCopyTries_ = result.copyTries;
    return std::move(result.table);
}

Engine::Engine() : starter_(startLibrary) {}

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

void Engine::start()
{
    if (started_)
        return;
    if (busyHook_)
        busyHook_(true);
    int code = SQLITE_ERROR;
    try {
        code = starter_();
    } catch (...) {
        if (busyHook_)
            busyHook_(false);
        throw;
    }
    if (busyHook_)
        busyHook_(false);
    if (code != SQLITE_OK) {
        const auto status = (code & 0xff) == SQLITE_NOMEM ? EngineStatus::OutOfMemory : EngineStatus::StartFailed;
        throw Failure(engineStartMessage(static_cast<std::uint16_t>(status)));
    }
    started_ = true;
}

std::shared_ptr<Connection> Engine::connect(const QString& databaseName)
{
    for (const auto& connection : connections_) {
        if (connection->name().compare(databaseName, Qt::CaseInsensitive) == 0)
            return connection;
    }
    if (!isDirectoryPath(databaseName))
        throw engineFailure(EngineStatus::UnknownDatabase, {{0, databaseName}});
    auto connection = std::make_shared<Connection>(databaseName, nativeDirectory(databaseName));
    connections_.push_back(connection);
    return connection;
}

void Engine::resetForTesting()
{
    started_ = false;
    connections_.clear();
    starter_ = startLibrary;
    busyHook_ = nullptr;
}

} // namespace uriage::data
