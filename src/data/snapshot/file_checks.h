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

// The first bytes of the file: the database header (empty when unreadable).
QByteArray fileHeader(const QString& filePath);

// A file whose header gives write version 2 (byte 18) is in WAL mode.
bool inWalMode(const QByteArray& header);

// A WAL-mode file needs its shared-memory file. When it is absent, SQLite
// would create it (and the -wal file) in the data directory: allowed only
// when they will belong to the table file's owner and the directory takes them.
void checkWalIndex(const QString& directory, const QString& filePath, const platform::PathStatus& file);

} // namespace uriage::data
