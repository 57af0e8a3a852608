#pragma once
// The database engine: started once at the first open, and the directory
// connections it hands out, one per database name (letter case ignored),
// shared by every query of that name until the program ends.
#include "data/field_value.h"
#include "data/query_texts.h"

#include "data/image/image_room.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace uriage::data {

class Connection {
public:
    Connection(QString name, QString directory);

    const QString& name() const { return name_; }
    // Where the directory lies on this system; statements run there.
    const QString& directory() const { return directory_; }

    int users() const { return users_; }
    void addUser() { ++users_; }
    void releaseUser() { if (users_ > 0) --users_; }

    // Prepares and runs one statement; the whole result, read and checked.
    // Throws Failure with the engine's message.
    ResultTable run(const StatementRequest& statement);

    // How long the table file's read lock was held by the last run.
    double lastLockMilliseconds() const { return lastLockMilliseconds_; }
    // How many lock-free copies of the table file the last run tried.
    int lastCopyTries() const { return lastCopyTries_; }

private:
    QString name_;
    QString directory_;
    int users_ = 0;
    double lastLockMilliseconds_ = 0;
    int lastCopyTries_ = 0;
    ImageRoom room_;   // the table file's copy, kept between runs
};

class Engine {
public:
    static Engine& instance();

    // Called with true before the engine starts and with false afterwards (also
    // when it fails): the window layer shows the hourglass cursor meanwhile.
    void setBusyCursorHook(std::function<void(bool)> hook) { busyHook_ = std::move(hook); }

    // Starts the engine unless it runs already. Throws Failure
    // "データベースエンジンの初期化中にエラーが発生しました (エラー $xxxx)".
    void start();

    // The connection for a database name, made at its first use. A name that is
    // no directory path names no database the engine knows: Failure.
    std::shared_ptr<Connection> connect(const QString& databaseName);
    std::size_t connectionCount() const { return connections_.size(); }

    // Tests: replace how the library starts (returns an SQLite status), and
    // forget the start and every connection.
    void setLibraryStarter(std::function<int()> starter) { starter_ = std::move(starter); }
    void resetForTesting();

private:
    Engine();

    std::function<void(bool)> busyHook_;
    std::function<int()> starter_;
    bool started_ = false;
    std::vector<std::shared_ptr<Connection>> connections_;
};

} // namespace uriage::data
