// Arbitrary bytes as the receipt table file (header, pages, values), opened
// through the real query of both kinds: the open must yield rows that read
// back, or fail with one engine message, and leave the file's bytes as they
// were. Anything else (a crash, a hang, another exception, another message)
// aborts.
#include "data/engine.h"
#include "data/engine_error.h"
#include "common/failure.h"
#include "data/query.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

using namespace uriage;
using namespace uriage::data;

namespace {

const QString& dataDirectory()
{
    static const QString dir = [] {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/receipt-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return QString::fromLocal8Bit(pattern);
    }();
    return dir;
}

QString tablePath() { return dataDirectory() + QStringLiteral("/領収証記録.db"); }

[[noreturn]] void fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "receipt fuzzer: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

// The first line of every engine message is one of the engine's own texts.
bool isEngineMessage(const QString& message)
{
    static const QRegularExpression numbered(QStringLiteral("\\Aデータベースエンジンエラー \\$[0-9a-f]{4}\\z"));
    const QString first = message.section(QChar('\n'), 0, 0);
    if (first.isEmpty())
        return false;
    for (std::uint16_t status = 0x2100; status < 0x2600; ++status) {
        const QString text = engineStatusText(static_cast<EngineStatus>(status));
        if (!text.isEmpty() && first == text)
            return true;
    }
    return numbered.match(first).hasMatch();
}

void openAndRead(Engine& engine, QueryKind kind)
{
    Query query(engine, QStringLiteral("Query1"), kind);
    query.setDatabaseName(dataDirectory());
    try {
        query.open();
    } catch (const Failure& failure) {
        if (!isEngineMessage(failure.message()))
            fail("unexpected message:", failure.message());
        if (query.isOpen())
            fail("open after a failure");
        return;
    }
    std::size_t rows = 0;
    for (query.first(); !query.eof(); query.next()) {
        for (std::size_t c = 0; c < query.fieldCount(); ++c) {
            (void)query.field(c).displayText();
            (void)query.field(c).asFloat();
        }
        ++rows;
    }
    if (rows != query.recordCount())
        fail("row count differs from the rows read");
    query.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = tablePath();
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QString::fromLatin1(suffix));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            fail("cannot write", path);
    }
    const QByteArray before = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);

    Engine engine; // a fresh one for every input
    openAndRead(engine, QueryKind::Daily);
    openAndRead(engine, QueryKind::Monthly);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("table file gone", path);
    if (QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) != before)
        fail("table file changed", path);
    return 0;
}
