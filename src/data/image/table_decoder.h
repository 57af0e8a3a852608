#pragma once
// Reading the rows of one rowid table straight from a database file's bytes:
// the table's b-tree is walked from its root, interior pages to their
// children in key order, and each leaf cell's record is decoded in place
// (header varints, serial types, values). Only the columns asked for are
// handed out, as SQLite would read them.
//
// Whatever is not the plain, well-formed shape is declined with its reason,
// never guessed: a page that is not a table b-tree page, a cell or pointer
// outside its page, a page reached twice, keys out of order, a record whose
// header and content do not add up to its size, a reserved serial type, a
// floating-point NaN, an overflow chain of the wrong length or through a page
// already met. A record's tail on overflow pages is gathered and read.
#include "data/aggregate/receipt_groups.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace uriage::data {

enum class DecodeDecline {
    None,
    BadHeader,      // no database header, an odd page size or usable size, another schema format
    NotUtf8,        // the file stores texts in another encoding
    CorruptPage,    // a page, cell or child pointer that is not as the format says
    OddRecord,      // a record header that does not add up, a reserved serial type, a NaN
    Overflow,       // a record longer than the decoder gathers from overflow pages
    Stopped,        // the row handler asked to stop
    TimeLimit,      // the time limit asked at every few pages was past
};

// Where a column asked for lies in the record, and how it is read.
struct DecodedColumn {
    int recordIndex = 0;
    bool realAffinity = false;   // a whole number stored in it reads as floating point
};

struct TableImage {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    std::uint32_t rootPage = 0;
    std::function<bool()> pastTimeLimit;   // may be empty
};

using RowHandler = std::function<bool(const CellView*)>;

// Hands every row's `columns` (in that order) to `row`, in key order; `row`
// returns false to stop. A record with fewer fields than a column's index
// gives NULL there (the caller declines columns with another default).
DecodeDecline decodeTableRows(const TableImage& image, const std::vector<DecodedColumn>& columns,
                              const RowHandler& row);

// The same rows in consecutive runs, one per handler, walked at the same time:
// the root page's children are split into as many runs as there are handlers,
// the first walked on the calling thread, each other one on a thread of its
// own. Every row of one run comes before every row of the next in key order;
// a root with too few children leaves the later handlers without rows. Every
// check of the single walk is made, across the runs too (a page reached from
// two runs, keys out of order at a boundary); a decline in one run stops the
// others early. What a handler throws is thrown here, once every run ended.
DecodeDecline decodeTableRowsInRuns(const TableImage& image, const std::vector<DecodedColumn>& columns,
                                    const std::vector<RowHandler>& runs);

} // namespace uriage::data
