#pragma once
// The database engine: made by the program's start-up with its options and
// handed to every query, started once at the first open, and the directory
// connections it hands out, one per database name (letter case ignored),
// shared by every query of that name until the program ends.
#include "data/field_value.h"
#include "data/query_texts.h"
#include "data/statement/read_limits.h"

#include "data/image/image_room.h"
#include "data/statement/kept_results.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace uriage::data {

class Connection {
public:
    Connection(QString name, QString directory, ReadLimits limits);

    const QString& name() const { return name_; }
    // Where the directory lies on this system; statements run there.
    const QString& directory() const { return directory_; }

    int users() const { return users_; }
    void addUser() { ++users_; }
    void releaseUser() { if (users_ > 0) --users_; }

    // Prepares and runs one statement; the whole result, read and checked.
    // A result kept from the last run of the same statement is given again
    // while its table file provably holds the same state. Throws EngineError.
    ResultTable run(const StatementRequest& statement);

    // How long the table file's read lock was held by the last run.
    double lastLockMilliseconds() const { return lastLockMilliseconds_; }
    // How many lock-free copies of the table file the last run tried.
    int lastCopyTries() const { return lastCopyTries_; }

private:
    QString name_;
    QString directory_;
    ReadLimits limits_;
    int users_ = 0;
    double lastLockMilliseconds_ = 0;
    int lastCopyTries_ = 0;
    ImageRoom room_;   // the table file's copy, kept between runs
    KeptResults kept_;
};

struct EngineOptions {
    ReadLimits limits;
    // Starts the database library and returns its status; empty: the library
    // linked with the program.
    std::function<int()> startLibrary;
    // Called with true before the engine starts and with false afterwards
    // (also when it fails): the window layer shows the hourglass meanwhile.
    std::function<void(bool)> busy;
};

class Engine {
public:
    explicit Engine(EngineOptions options = {});
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Starts the engine unless it runs already. Throws EngineError
    // "データベースエンジンの初期化中にエラーが発生しました (エラー $xxxx)".
    void start();
    bool started() const { return started_; }

    // The connection for a database name, made at its first use. A name that is
    // no directory path names no database the engine knows: EngineError.
    std::shared_ptr<Connection> connect(const QString& databaseName);
    std::size_t connectionCount() const { return connections_.size(); }

private:
    EngineOptions options_;
    bool started_ = false;
    std::vector<std::shared_ptr<Connection>> connections_;
};

} // namespace uriage::data
