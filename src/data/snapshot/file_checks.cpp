#include "data/snapshot/file_checks.h"

#include "data/engine_error.h"

namespace uriage::data {

using platform::PathKind;

void checkDirectory(const QString& directory)
{
    const platform::PathStatus status = platform::pathStatus(directory);
    if (status.kind == PathKind::AccessDenied)
        throw EngineError(EngineStatus::PermissionDenied, {directoryContext(directory)});
    if (status.kind != PathKind::Directory)
        throw EngineError(EngineStatus::DirectoryMissing, {directoryContext(directory)});
    if (!platform::mayAccess(directory, platform::SearchAccess))
        throw EngineError(EngineStatus::PermissionDenied, {directoryContext(directory)});
}

platform::PathStatus checkTableFile(const QString& directory, const QString& filePath)
{
    const platform::PathStatus status = platform::pathStatus(filePath);
    if (status.kind == PathKind::AccessDenied)
        throw EngineError(EngineStatus::PermissionDenied, {directoryContext(directory)});
    if (status.kind == PathKind::Missing)
        throw EngineError(EngineStatus::TableFileMissing, {fileContext(filePath)});
    if (status.kind != PathKind::RegularFile)
        throw EngineError(EngineStatus::NotADatabase, {fileContext(filePath)});
    if (!platform::mayAccess(filePath, platform::ReadAccess))
        throw EngineError(EngineStatus::PermissionDenied, {fileContext(filePath)});
    return status;
}

void checkCompanionFiles(const QString& filePath)
{
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString path = filePath + QLatin1String(suffix);
        const PathKind kind = platform::pathStatus(path).kind;
        if (kind == PathKind::Directory || kind == PathKind::Other)
            throw EngineError(EngineStatus::NotARegularFile, {fileContext(path)});
    }
}

QByteArray fileHeader(const QString& filePath)
{
    constexpr int kHeaderBytes = 100;
    const platform::OpenFile file(filePath);
    if (!file.isOpen())
        return {};
    QByteArray header(kHeaderBytes, '\0');
    const long long got = file.readAt(0, reinterpret_cast<unsigned char*>(header.data()), std::size_t(kHeaderBytes));
    header.truncate(got > 0 ? qsizetype(got) : 0);
    return header;
}

bool inWalMode(const QByteArray& header)
{
    return header.size() >= 20 && header.startsWith("SQLite format 3") && header[18] == 2;
}

bool checkWalIndex(const QString& filePath)
{
    const QString shm = filePath + QStringLiteral("-shm");
    // Looked at once: a second look could find it gone with its writer.
    const PathKind shmKind = platform::pathStatus(shm).kind;
    if (shmKind == PathKind::Missing)
        return false;
    if (shmKind == PathKind::AccessDenied)
        throw EngineError(EngineStatus::WalIndexMissing, {fileContext(filePath), fileContext(shm)});
    if (!platform::mayAccess(shm, platform::ReadAccess))
        throw EngineError(EngineStatus::PermissionDenied, {fileContext(shm)});
    return true;
}

bool walFilePresent(const QString& filePath)
{
    return platform::pathStatus(filePath + QStringLiteral("-wal")).kind != PathKind::Missing;
}

} // namespace uriage::data
