#include "data/sqlite/shared_file_lock.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace uriage::data {

SharedFileLock::SharedFileLock(sqlite3* db, int waitMilliseconds) : code_(SQLITE_CANTOPEN)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return;
    QElapsedTimer waited;
    waited.start();
    while (((code_ = file->pMethods->xLock(file, SQLITE_LOCK_SHARED)) & 0xff) == SQLITE_BUSY
           && waited.elapsed() < waitMilliseconds)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (code_ != SQLITE_OK)
        return;
    file_ = file;
    held_.start();
}

SharedFileLock::~SharedFileLock()
{
    if (file_)
        file_->pMethods->xUnlock(file_, SQLITE_LOCK_NONE);
}

double SharedFileLock::heldMilliseconds() const { return held_.isValid() ? double(held_.nsecsElapsed()) / 1e6 : 0; }

} // namespace uriage::data
