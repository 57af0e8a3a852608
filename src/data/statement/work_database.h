#pragma once
// The in-memory database a statement runs in, and the table files copied into
// it: each one's bytes in an attached schema of its own, its table reachable
// under the name the statement writes through a temporary view.
#include "data/snapshot/file_image.h"
#include "data/snapshot/unchanged_file.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/statement/read_limits.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace uriage::data {

class ImageRoom;

// How a database stores its texts, as SQLite numbers the encodings.
enum TextEncoding { kUtf8 = 1, kUtf16le = 2, kUtf16be = 3 };

// A table file copied into memory: the name the statement uses for it, and
// where its table lies in the work database.
struct LoadedTable {
    QString view;
    QString schema;
    QString table;
    // The copied file's bytes, when it was copied as a whole image (else null).
    const unsigned char* imageBytes = nullptr;
    std::size_t imageSize = 0;
    // The file's name in the directory, and what proves later that it still
    // holds the copied state (none when the copy cannot prove it).
    QString fileName;
    std::optional<FileProof> proof;
};

class WorkDatabase {
public:
    // An empty database storing texts in `encoding`, its copies and statements
    // held to `limits`. Throws EngineError. The first table file's copy takes
    // its room from `room`, and gives it back when the database closes.
    WorkDatabase(int encoding, const ReadLimits& limits, ImageRoom* room = nullptr);
    ~WorkDatabase();
    WorkDatabase(const WorkDatabase&) = delete;
    WorkDatabase& operator=(const WorkDatabase&) = delete;

    sqlite3* handle() const { return db_.get(); }
    int encoding() const { return encoding_; }
    const std::vector<LoadedTable>& tables() const { return tables_; }
    // The read locks held on the table files so far, in total.
    double lockMilliseconds() const { return lockMilliseconds_; }
    // The lock-free copies tried so far, in total.
    int copyTries() const { return copyTries_; }

    // Copies the table file that `name` stands for ("X.db" or "X": table X of
    // the file X.db in `directory`) and makes `name` reach its table. When the
    // file stores texts in another encoding than this database, which SQLite
    // cannot attach, returns that encoding and leaves the table unreachable.
    // Throws Failure with the engine's message.
    std::optional<int> load(const QString& directory, const QString& name);

    // Whether the statements over these copies have used up their time.
    bool outOfTime() const;

    // Runs SQL that yields no rows. Throws EngineError.
    void execute(const QString& sql);

    // Fails with the column missing status for the first of `columns` that no
    // loaded table has, names compared as SQLite compares them.
    void requireColumns(const QStringList& columns) const;

    // Whether a sum over `columns` of some loaded table could pass the largest
    // whole number: the magnitudes of all their values add up near it.
    bool sumsNearIntegerLimit(const QStringList& columns) const;

private:
    QString lookUpTable(const QString& schema, const QString& tableName, const QString& filePath);

    // The copied bytes: released after the database (declared first).
    std::vector<std::unique_ptr<FileImage>> images_;
    DatabaseHandle db_;
    int encoding_;
    ImageRoom* room_;
    std::vector<LoadedTable> tables_;
    double lockMilliseconds_ = 0;
    int copyTries_ = 0;
    ReadLimits limits_;
    // Every statement ends by the time limit, whatever the file holds.
    QElapsedTimer clock_;
};

} // namespace uriage::data
