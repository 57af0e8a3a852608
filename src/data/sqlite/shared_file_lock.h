#pragma once
// SQLite's SHARED lock on a connection's database file, taken by hand through
// the file SQLite opened, as SQLite itself takes it for a read transaction.
// For a WAL-mode file whose writers all closed: SQLite would read it only by
// making a -wal file, yet the lock still keeps a closing writer (which needs
// EXCLUSIVE to write its last pages and remove its -wal file) away.
#include <QElapsedTimer>

struct sqlite3;
struct sqlite3_file;

namespace uriage::data {

class SharedFileLock {
public:
    // Takes the lock on the main database of `db`, trying again for at most
    // `waitMilliseconds` while a writer holds it.
    SharedFileLock(sqlite3* db, int waitMilliseconds);
    ~SharedFileLock();
    SharedFileLock(const SharedFileLock&) = delete;
    SharedFileLock& operator=(const SharedFileLock&) = delete;

    // SQLITE_OK while it is held; else SQLite's code for why it is not
    // (SQLITE_BUSY: a writer kept it past the wait).
    int code() const { return code_; }
    // How long it has been held, the wait for it not counted.
    double heldMilliseconds() const;

private:
    sqlite3_file* file_ = nullptr;
    int code_;
    QElapsedTimer held_;
};

} // namespace uriage::data
