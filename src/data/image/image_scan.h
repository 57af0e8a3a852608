#pragma once
// The aggregate statements answered straight from the table file's bytes in
// memory: the receipt table's b-tree is decoded in place (table_decoder.h)
// and its rows fed to the one-pass grouping, with no SQL statement stepping
// them. Only the table's description (its columns, their declared types and
// collations, its root page) is asked of SQLite.
//
// Declined, before any row is handed out, wherever the answer could differ
// from SQLite's own run: the caller then takes the statement path, which
// gives the answer or the error exactly as before.
#include "data/query_texts.h"
#include "data/statement/column_reading.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

struct sqlite3;

namespace uriage::data {

enum class ImageScanDecline {
    None,            // answered: every row was handed out
    NoImage,         // the table was not copied into memory as a file image
    BadHeader,       // the image's header is not the plain current format
    NotUtf8,         // texts stored in another encoding
    NotPlainTable,   // no plain rowid table: WITHOUT ROWID, STRICT, virtual, generated columns
    ColumnShape,     // a needed column missing, the row's key, or with a default value
    Collation,       // a key compared under another collation than BINARY
    CorruptPage,
    OddRecord,
    Overflow,
    NotAnAmount,     // a text or byte string in a summed column: the statement path reports it
    Grouping,        // the one-pass grouping declined (ambiguous keys, uncertain sums)
    TimeLimit,       // the statements' time ran out: the statement path ends with its message
};

const char* imageScanDeclineName(ImageScanDecline decline);

// Computes the statement `kind` over `table` of the attached schema `schema`
// of `work`, whose database bytes are `bytes` (`size` of them, the whole
// image), and hands its rows to `deliver`. What `deliver` throws passes through.
// `pastTimeLimit` is asked every few pages, from each thread that walks.
// `runs` is how many parts of the table are walked at the same time (each
// grouped apart, the groups then joined); 0 leaves it to
// scanRunsFor(size).
ImageScanDecline scanImageAggregate(sqlite3* work, QueryKind kind, const QString& schema, const QString& table,
                                    const unsigned char* bytes, std::size_t size,
                                    const std::function<void(const std::vector<StoredValue>&)>& deliver,
                                    const std::function<bool()>& pastTimeLimit = {}, int runs = 0);

// How many parts of an image of `size` bytes pay to walk at once: two on a
// machine with a second core, for an image large enough that the second
// thread's start is a small part of the walk; otherwise one.
int scanRunsFor(std::size_t size);

} // namespace uriage::data
