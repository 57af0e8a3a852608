// Out-of-memory and I/O errors inside SQLite: an open that meets one fails
// with one message (or, when the fault does not touch it, yields its rows),
// never a crash, and the table file stays as it was. The faults are installed
// in a forked child, because SQLite takes an allocator only before it starts
// and a default file system for the whole process.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "data/engine_error.h"
#include "data/snapshot/committed_copy.h"

#include <sys/wait.h>

#include <atomic>
#include <ostream>
#include <set>

namespace uriage::data::testing {
namespace {

const std::vector<Receipt> kReceipts = {
    {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"},
    {"'2005-03-01'", "2005", "3", "1", "1500.5", "450", "500", "2450.5"},
    {"'2005-04-02'", "2005", "4", "2", "700", "NULL", "0", "700"},
};

// Child: one open of a fresh engine, told as "rows N" or "message TEXT".
QString openOnce(const QString& directory, QueryKind kind, EngineOptions options = {})
{
    Engine engine(std::move(options));
    Query query(engine, "Query1", kind);
    query.setDatabaseName(directory);
    try {
        query.open();
        return QStringLiteral("rows %1").arg(query.recordCount());
    } catch (const uriage::Failure& failure) {
        return QStringLiteral("message ") + failure.message();
    } catch (const std::exception& other) {
        return QStringLiteral("escaped ") + QString::fromUtf8(other.what());
    }
}

struct ChildOutcome {
    bool exitedNormally = false;
    QString text;
};

ChildOutcome inChild(const std::function<QString()>& body)
{
    ChildProcess child([&](ChildProcess& self) { self.send(body().toUtf8()); });
    ChildOutcome outcome;
    outcome.text = QString::fromUtf8(child.receiveAll());
    const int status = child.wait();
    outcome.exitedNormally = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

// ---- An allocator that fails from (or only at) a given call on.

sqlite3_mem_methods g_base;
std::atomic<long> g_calls{0};
long g_failAt = 0;
bool g_persistent = false;

bool failNow()
{
    const long n = ++g_calls;
    return g_failAt > 0 && (g_persistent ? n >= g_failAt : n == g_failAt);
}
void* failingMalloc(int n) { return failNow() ? nullptr : g_base.xMalloc(n); }
void* failingRealloc(void* p, int n) { return failNow() ? nullptr : g_base.xRealloc(p, n); }
void forwardFree(void* p) { g_base.xFree(p); }
int forwardSize(void* p) { return g_base.xSize(p); }
int forwardRoundup(int n) { return g_base.xRoundup(n); }
int forwardInit(void* data) { return g_base.xInit(data); }
void forwardShutdown(void* data) { g_base.xShutdown(data); }

// Child: restarts SQLite with the failing allocator (0: count only).
void installFailingAllocator(long failAt, bool persistent)
{
    sqlite3_shutdown();
    sqlite3_config(SQLITE_CONFIG_GETMALLOC, &g_base);
    static sqlite3_mem_methods failing;
    failing = {failingMalloc, forwardFree, failingRealloc, forwardSize, forwardRoundup, forwardInit, forwardShutdown,
               g_base.pAppData};
    sqlite3_config(SQLITE_CONFIG_MALLOC, &failing);
    g_failAt = failAt;
    g_persistent = persistent;
    g_calls = 0;
}

class EngineFaultTest : public DataTest {};

TEST_F(EngineFaultTest, FailingAllocatorGivesTheMemoryMessageNeverACrash)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    const auto before = dir.fingerprint();

    // How many allocations one whole open makes.
    const ChildOutcome counted = inChild([&] {
        installFailingAllocator(0, false);
        const QString outcome = openOnce(dir.path(), QueryKind::Daily);
        return outcome + QStringLiteral("\n%1").arg(g_calls.load());
    });
    ASSERT_TRUE(counted.exitedNormally);
    const QStringList parts = counted.text.split(QChar('\n'));
    ASSERT_EQ(parts.size(), 2);
    ASSERT_EQ(parts[0], QStringLiteral("rows 2"));
    const long total = parts[1].toLong();
    ASSERT_GT(total, 10);

    const QString memory = engineStatusText(EngineStatus::OutOfMemory);
    const QString startFailed = EngineError::whileStarting(EngineStatus::OutOfMemory).message();
    std::set<long> points;
    for (long n = 1; n <= 12; ++n)
        points.insert(n);
    for (long step = 1; step <= 40; ++step)
        points.insert(1 + total * step / 41);
    int memoryMessages = 0;
    for (const bool persistent : {true, false}) {
        for (const long failAt : points) {
            SCOPED_TRACE(std::string(persistent ? "from" : "only at") + " allocation " + std::to_string(failAt));
            const ChildOutcome outcome = inChild([&] {
                installFailingAllocator(failAt, persistent);
                return openOnce(dir.path(), QueryKind::Daily);
            });
            ASSERT_TRUE(outcome.exitedNormally) << "the open crashed";
            if (outcome.text == QStringLiteral("rows 2"))
                continue;
            ASSERT_TRUE(outcome.text.startsWith(QStringLiteral("message "))) << outcome.text.toStdString();
            const QString message = outcome.text.mid(8);
            // The memory message, with the file's line where the file was being read.
            const bool aboutMemory = message == startFailed || message.startsWith(memory);
            EXPECT_TRUE(aboutMemory) << message.toStdString();
            memoryMessages += aboutMemory ? 1 : 0;
        }
    }
    EXPECT_GT(memoryMessages, 20);
    EXPECT_EQ(dir.fingerprint(), before);
}

// ---- A default file system whose reads, locks or size queries of the
// database file fail.

enum class FileFault { Read, Lock, FileSize };

sqlite3_vfs* g_realVfs = nullptr;
sqlite3_vfs g_faultyVfs;
sqlite3_io_methods g_faultyMethods;
FileFault g_fault = FileFault::Read;

int faultyRead(sqlite3_file*, void*, int, sqlite3_int64) { return SQLITE_IOERR_READ; }
int faultyLock(sqlite3_file*, int) { return SQLITE_IOERR_LOCK; }
int faultyFileSize(sqlite3_file*, sqlite3_int64*) { return SQLITE_IOERR_FSTAT; }

int faultyOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    const int code = g_realVfs->xOpen(g_realVfs, name, file, flags, outFlags);
    if (code == SQLITE_OK && file->pMethods && (flags & SQLITE_OPEN_MAIN_DB)) {
        g_faultyMethods = *file->pMethods;
        switch (g_fault) {
        case FileFault::Read:
            g_faultyMethods.xRead = faultyRead;
            break;
        case FileFault::Lock:
            g_faultyMethods.xLock = faultyLock;
            break;
        case FileFault::FileSize:
            g_faultyMethods.xFileSize = faultyFileSize;
            break;
        }
        file->pMethods = &g_faultyMethods;
    }
    return code;
}

void installFaultyFiles(FileFault fault)
{
    g_realVfs = sqlite3_vfs_find(nullptr);
    g_faultyVfs = *g_realVfs;
    g_faultyVfs.zName = "uriage-faulty";
    g_faultyVfs.xOpen = faultyOpen;
    g_fault = fault;
    sqlite3_vfs_register(&g_faultyVfs, 1);
}

struct FileFaultCase {
    const char* name;
    FileFault fault;
    QueryKind kind;
};

void PrintTo(const FileFaultCase& c, std::ostream* os) { *os << c.name; }

class FileFaultTest : public DataTest, public ::testing::WithParamInterface<FileFaultCase> {};

TEST_P(FileFaultTest, FailsWithTheReadErrorAndTheFileLine)
{
    ReceiptDirectory dir;
    dir.write(kReceipts);
    const auto before = dir.fingerprint();
    const ChildOutcome outcome = inChild([&] {
        // The faults lie in SQLite's files: the read goes through SQLite at once.
        EngineOptions options;
        options.limits.copy.tries = 0;
        installFaultyFiles(GetParam().fault);
        return openOnce(dir.path(), GetParam().kind, std::move(options));
    });
    ASSERT_TRUE(outcome.exitedNormally) << "the open crashed";
    EXPECT_EQ(outcome.text, QStringLiteral("message ")
                                + EngineError(EngineStatus::ReadError, {fileContext(dir.tablePath())}).message());
    EXPECT_EQ(dir.fingerprint(), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, FileFaultTest,
                         ::testing::Values(FileFaultCase{"Read", FileFault::Read, QueryKind::Daily},
                                           FileFaultCase{"Lock", FileFault::Lock, QueryKind::Monthly},
                                           FileFaultCase{"FileSize", FileFault::FileSize, QueryKind::Daily}),
                         [](const ::testing::TestParamInfo<FileFaultCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
