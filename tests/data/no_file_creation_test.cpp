// While the guard lives, SQLite on this thread creates no file; before and
// after it, and on other threads, SQLite works as ever.
#include "data/sqlite/no_file_creation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <thread>

namespace uriage::data {
namespace {

// Whether SQLite made the database file at `path` (an empty database is
// written on the first statement).
bool sqliteCreates(const QString& path)
{
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                     nullptr);
    if (code == SQLITE_OK)
        sqlite3_exec(db, "CREATE TABLE t (a)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return QFile::exists(path);
}

TEST(NoFileCreationTest, RefusesNewFilesOnlyWhileItLivesOnItsThread)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(sqliteCreates(dir.filePath("before.db")));
    {
        const NoFileCreation guard;
        EXPECT_FALSE(sqliteCreates(dir.filePath("during.db")));
        bool otherThread = false;
        std::thread([&] { otherThread = sqliteCreates(dir.filePath("other-thread.db")); }).join();
        EXPECT_TRUE(otherThread);
        // An existing file still opens and reads.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(dir.filePath("before.db")).constData(), &db, SQLITE_OPEN_READONLY,
                                  nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "SELECT count(*) FROM t", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    EXPECT_TRUE(sqliteCreates(dir.filePath("after.db")));
}

} // namespace
} // namespace uriage::data
