#pragma once
// Reading another program's live table file safely: the directory, the file
// and the files beside it are checked first; then the committed state is
// copied into memory without any lock when no writer is at work (proved
// before and after the copy). Only when a writer kept it busy, the state
// lies partly in a -wal file, or the system cannot see other programs' locks
// (Windows), is the file read under SQLite's read lock, held only for the
// copy: through SQLite on its plain path, read-only, or for a WAL-mode file
// whose writers all closed, by hand. No file is ever changed or created.
#include "data/snapshot/committed_copy.h"
#include "data/snapshot/file_image.h"
#include "data/snapshot/unchanged_file.h"

#include <QString>
#include <cstddef>
#include <memory>
#include <optional>

struct sqlite3;

namespace uriage::data {

class ImageRoom;

struct TableFileCopy {
    double lockMilliseconds = 0;   // how long the file's read lock was held (0: no lock taken)
    // The bytes the in-memory database reads; keep them until it is closed.
    std::unique_ptr<FileImage> image;
    // How the file stores texts: 1 UTF-8, 2 UTF-16le, 3 UTF-16be; 0 unknown.
    int textEncoding = 0;
    int copyTries = 0;             // lock-free copies tried before this one was had
    // What proves later that the file still holds this state; none when the
    // copy cannot prove it (see unchanged_file.h).
    std::optional<FileProof> proof;
};

// How the database file whose first bytes are `header` stores texts: 1 UTF-8,
// 2 UTF-16le, 3 UTF-16be; 0 when the header does not tell.
int textEncodingOf(const unsigned char* header, std::size_t size);

// How long a reader waits for a writer's exclusive lock before giving up.
constexpr int kBusyTimeoutMilliseconds = 2000;

// Checks `directory` and `filePath` (a file in it) and copies the file's
// database into the attached schema `schema` of `work` (an in-memory database
// attached beforehand). The copy may live in the returned image, which must
// outlive `work`. The lock-free copy takes its room from `room` when given
// and tries within `limits`. Throws EngineError.
TableFileCopy copyTableFile(sqlite3* work, const char* schema, const QString& directory, const QString& filePath,
                            ImageRoom* room = nullptr, const CommittedCopyLimits& limits = {});

// Whether the table file `filePath` in `directory` provably still holds the
// state `proof` describes. The checks copyTableFile makes first run first,
// in the same order, and throw as they do there.
bool tableFileUnchanged(const QString& directory, const QString& filePath, const FileProof& proof);

} // namespace uriage::data
