#pragma once
// The checks made before another program's table file is opened: that its
// directory and the file are there and may be read, and for a file in WAL
// mode that SQLite will find or may make its shared-memory file. Each check
// throws Failure with the engine's message; nothing is ever changed.
#include "platform/file_access.h"

#include <QByteArray>
#include <QString>

namespace uriage::data {

// The data directory exists, is a directory, and may be entered.
void checkDirectory(const QString& directory);

// `filePath` (a file in `directory`) is a regular file that may be read.
platform::PathStatus checkTableFile(const QString& directory, const QString& filePath);

// The files SQLite keeps beside the table file (-journal, -wal, -shm) are
// regular files or absent: a pipe, a device or a directory in their place
// would stop or mislead SQLite, and gets its own message instead.
void checkCompanionFiles(const QString& filePath);

// The first bytes of the file: the database header (empty when unreadable).
QByteArray fileHeader(const QString& filePath);

// A file whose header gives write version 2 (byte 18) is in WAL mode.
bool inWalMode(const QByteArray& header);

// A WAL-mode file whose -wal file holds frames is read through SQLite, which
// needs both the -wal and the shared-memory (-shm) file and must create neither.
// False when the -shm file is gone (its writer closed since the last look, the
// file then wholly in its pages); throws when it is there but unreadable.
bool checkWalIndex(const QString& filePath);

// Whether anything lies at the -wal file's path: a WAL-mode writer is, or
// was, at work.
bool walFilePresent(const QString& filePath);

} // namespace uriage::data
