// While the guard lives, SQLite on this thread creates no file; before and
// after it, and on other threads, SQLite works as ever. A file SQLite holds
// open may still be renamed by the program that writes it.
#include "data/sqlite/no_file_creation.h"

#include "platform/file_access.h"

#include <QDir>
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
    const int code = sqlite3_open_v2(platform::pathBytes(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
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
        ASSERT_EQ(sqlite3_open_v2(platform::pathBytes(dir.filePath("before.db")).constData(), &db, SQLITE_OPEN_READONLY,
                                  nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "SELECT count(*) FROM t", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    EXPECT_TRUE(sqliteCreates(dir.filePath("after.db")));
}

// The receipt program may rename its table (to keep a copy, say) while this
// program reads it. Windows refuses to rename a file that another handle holds
// open without sharing it for deletion, whichever process holds it: every
// file SQLite opens once a guard was made is shared so.
TEST(NoFileCreationTest, TableHeldOpenByTheGuardedReaderMayBeRenamed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString table = dir.filePath(QString::fromUtf8("領収証記録.db"));
    const QString kept = dir.filePath(QString::fromUtf8("領収証記録.bak"));
    ASSERT_TRUE(sqliteCreates(table));
    sqlite3* db = nullptr;
    sqlite3_stmt* select = nullptr;
    {
        const NoFileCreation guard;
        ASSERT_EQ(sqlite3_open_v2(platform::pathBytes(table).constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM t", -1, &select, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(select), SQLITE_ROW);
    }
    EXPECT_TRUE(QDir().rename(table, kept)) << "renamed while SQLite holds it open";
    EXPECT_FALSE(QFile::exists(table));
    EXPECT_TRUE(QDir().rename(kept, table)) << "renamed back";
    EXPECT_EQ(sqlite3_step(select), SQLITE_DONE);
    sqlite3_finalize(select);
    sqlite3_close(db);
    EXPECT_TRUE(QFile::exists(table));
    EXPECT_FALSE(QFile::exists(kept));
}

} // namespace
} // namespace uriage::data
