#include "data/image/table_decoder.h"

#include <array>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <bit>
#include <cmath>
#include <cstring>

namespace uriage::data {
namespace {

using Kind = StoredValue::Kind;

constexpr std::size_t kFileHeader = 100;
constexpr unsigned char kInteriorTable = 0x05;
constexpr unsigned char kLeafTable = 0x0D;
constexpr int kMaxDepth = 40;
constexpr int kMaxColumns = 16;
// Longer records are left to SQLite rather than gathered here.
constexpr std::uint64_t kMaxPayload = std::uint64_t(64) << 20;

std::uint32_t be16(const unsigned char* p) { return (std::uint32_t(p[0]) << 8) | p[1]; }
std::uint32_t be32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// A varint of at most 9 bytes starting at `p`, not reading at or past `end`.
// Returns the bytes it took, 0 when it runs past `end`.
int readVarint(const unsigned char* p, const unsigned char* end, std::uint64_t* value)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        if (p + i >= end)
            return 0;
        v = (v << 7) | (p[i] & 0x7f);
        if ((p[i] & 0x80) == 0) {
            *value = v;
            return i + 1;
        }
    }
    if (p + 8 >= end)
        return 0;
    *value = (v << 8) | p[8];
    return 9;
}

// Content bytes of a serial type; -1 for the reserved types 10 and 11.
long long contentSize(std::uint64_t type)
{
    static constexpr std::array<int, 12> sizes = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, -1, -1};
    if (type < 12)
        return sizes[type];
    return (long long)((type - 12) / 2);
}

// The eight bytes at `v` as one big-endian number, those at or past `safeEnd`
// read as zero: whole numbers, floating-point numbers and texts are all read
// through it, the content's own size chosen afterwards.
std::uint64_t firstEightBytes(const unsigned char* v, const unsigned char* safeEnd)
{
    if (safeEnd - v >= 8) {
        std::uint64_t raw = 0;
        std::memcpy(&raw, v, 8);
        if constexpr (std::endian::native == std::endian::little)
            raw = __builtin_bswap64(raw);
        return raw;
    }
    std::uint64_t raw = 0;
    for (int i = 0; i < 8; ++i)
        raw = (raw << 8) | (v + i < safeEnd ? v[i] : 0);
    return raw;
}

// By serial type (12 for any byte string, 13 for any text): what a value of
// it is.
constexpr std::array<Kind, 14> kKindOf = {Kind::Null,    Kind::Integer, Kind::Integer, Kind::Integer, Kind::Integer,
                                          Kind::Integer, Kind::Integer, Kind::Real,    Kind::Integer, Kind::Integer,
                                          Kind::Null,    Kind::Null,    Kind::Blob,    Kind::Text};
// A whole number of 1 to 8 bytes is the top of the eight read, shifted down
// with its sign; the other types keep none of them (9 is the constant 1).
constexpr std::array<int, 14> kIntegerShift = {0, 56, 48, 40, 32, 16, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::int64_t, 14> kIntegerMask = {0, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0};

// How one asked column is read from a record under a given header: where
// its content lies and what it keeps of the eight bytes read there. The same
// for every record that repeats the header, so worked out once for it.
struct ColumnRead {
    std::uint64_t at = 0;             // content offset in the record
    std::uint64_t bytes = 0;          // content size
    Kind kind = Kind::Null;
    int shift = 0;                    // a whole number: the top bytes, shifted down
    std::int64_t mask = 0;
    std::int64_t constant = 0;        // 1 for serial type 9
    bool missing = false;             // a field the record lacks: NULL
    bool checkNaN = false;            // a floating-point number: NaN declines
    bool toReal = false;              // real affinity turns a whole number into a real
};

struct Geometry {
    std::size_t pageSize = 0;
    std::size_t usable = 0;
    std::uint32_t pageCount = 0;
};

// An opened b-tree page: its bytes, kind and cell count, checked as far as
// its header and cell pointer array go.
struct PageView {
    const unsigned char* bytes = nullptr;
    unsigned char type = 0;
    std::size_t headerBytes = 0;
    std::size_t cells = 0;
};

// Aligned to a cache line: walkers on two threads write their own state on
// every row, which must not share a line.
class alignas(64) Walker {
public:
    Walker(const TableImage& image, const Geometry& geometry, const std::vector<DecodedColumn>& columns,
           const RowHandler& row, const std::atomic<bool>* abandon)
        : image_(image), g_(geometry), columns_(columns), row_(row), abandon_(abandon),
          visited_(geometry.pageCount + 1, false)
    {
        int lastIndex = 0;
        for (const DecodedColumn& c : columns)
            lastIndex = std::max(lastIndex, c.recordIndex);
        fieldType_.assign(std::size_t(lastIndex) + 1, 0);
        fieldAt_.assign(std::size_t(lastIndex) + 1, 0);
    }

    DecodeDecline open(std::uint32_t number, int depth, PageView* view);
    DecodeDecline walk(std::uint32_t number, int depth);
    // The children `from` up to `to` of an opened interior page; child number
    // `cells` is its right-most one.
    DecodeDecline walkChildren(const PageView& page, std::size_t from, std::size_t to, int depth);
    void markVisited(std::uint32_t number) { visited_[number] = true; }

    const std::vector<bool>& visited() const { return visited_; }
    bool anyKey() const { return anyKey_; }
    std::int64_t firstKey() const { return firstKey_; }
    std::int64_t lastKey() const { return lastKey_; }
    // The lowest divider met before this walker's first key: in a walk split
    // into runs, the keys of the runs before it must not pass it.
    const std::optional<std::int64_t>& earlyDivider() const { return earlyDivider_; }
    bool abandoned() const { return abandoned_; }

private:
    DecodeDecline leafCell(const unsigned char* page, const unsigned char* cell);
    // `safeEnd`: how far past the record its buffer may be read.
    DecodeDecline record(const unsigned char* payload, std::size_t local, std::uint64_t size,
                         const unsigned char* safeEnd);

    const TableImage& image_;
    Geometry g_;
    const std::vector<DecodedColumn>& columns_;
    const RowHandler& row_;
    const std::atomic<bool>* abandon_;
    std::vector<bool> visited_;
    std::vector<unsigned char> scratch_;
    // Each record field's serial type and content offset, up to the last field asked for.
    std::vector<std::uint64_t> fieldType_;
    std::vector<std::uint64_t> fieldAt_;
    std::uint64_t contentSize_ = 0;       // the header and content bytes it adds up to
    // How each asked column is read under the last header read (see ColumnRead).
    std::array<ColumnRead, kMaxColumns> reads_{};
    std::array<unsigned char, 64> lastHeader_{};
    std::uint64_t lastHeaderSize_ = 0;    // 0: no header kept
    std::array<CellView, kMaxColumns> cells_{};
    std::uint64_t pages_ = 0;
    bool anyKey_ = false;
    std::int64_t firstKey_ = 0;
    std::int64_t lastKey_ = 0;
    std::optional<std::int64_t> earlyDivider_;
    bool abandoned_ = false;
};

DecodeDecline Walker::open(std::uint32_t number, int depth, PageView* view)
{
    if (number < 2 || number > g_.pageCount || visited_[number] || depth > kMaxDepth)
        return DecodeDecline::CorruptPage;
    visited_[number] = true;
    if (abandon_ && abandon_->load(std::memory_order_relaxed)) {
        abandoned_ = true;
        return DecodeDecline::Stopped;
    }
    if (image_.pastTimeLimit && ++pages_ % 64 == 0 && image_.pastTimeLimit())
        return DecodeDecline::TimeLimit;
    view->bytes = image_.bytes + std::size_t(number - 1) * g_.pageSize;
    view->type = view->bytes[0];
    if (view->type != kInteriorTable && view->type != kLeafTable)
        return DecodeDecline::CorruptPage;
    view->headerBytes = view->type == kLeafTable ? 8 : 12;
    view->cells = be16(view->bytes + 3);
    if (view->headerBytes + 2 * view->cells > g_.usable || (view->type == kInteriorTable && view->cells == 0))
        return DecodeDecline::CorruptPage;
    return DecodeDecline::None;
}

DecodeDecline Walker::walk(std::uint32_t number, int depth)
{
    PageView page;
    if (const DecodeDecline d = open(number, depth, &page); d != DecodeDecline::None)
        return d;
    if (page.type == kInteriorTable)
        return walkChildren(page, 0, page.cells + 1, depth);
    const unsigned char* end = page.bytes + g_.usable;
    const std::size_t pointersEnd = page.headerBytes + 2 * page.cells;
    for (std::size_t i = 0; i < page.cells; ++i) {
        const std::size_t offset = be16(page.bytes + page.headerBytes + 2 * i);
        if (offset < pointersEnd || offset >= g_.usable)
            return DecodeDecline::CorruptPage;
        if (const DecodeDecline d = leafCell(end, page.bytes + offset); d != DecodeDecline::None)
            return d;
    }
    return DecodeDecline::None;
}

DecodeDecline Walker::walkChildren(const PageView& page, std::size_t from, std::size_t to, int depth)
{
    const unsigned char* end = page.bytes + g_.usable;
    const std::size_t pointersEnd = page.headerBytes + 2 * page.cells;
    for (std::size_t i = from; i < std::min(to, page.cells); ++i) {
        const std::size_t offset = be16(page.bytes + page.headerBytes + 2 * i);
        if (offset < pointersEnd || offset >= g_.usable)
            return DecodeDecline::CorruptPage;
        const unsigned char* cell = page.bytes + offset;
        std::uint64_t key = 0;
        if (cell + 4 >= end || readVarint(cell + 4, end, &key) == 0)
            return DecodeDecline::CorruptPage;
        if (const DecodeDecline d = walk(be32(cell), depth + 1); d != DecodeDecline::None)
            return d;
        // Every key of the left child is at most the divider.
        if (anyKey_ && lastKey_ > std::int64_t(key))
            return DecodeDecline::CorruptPage;
        if (!anyKey_ && (!earlyDivider_ || *earlyDivider_ > std::int64_t(key)))
            earlyDivider_ = std::int64_t(key);
    }
    if (to > page.cells)
        return walk(be32(page.bytes + 8), depth + 1);
    return DecodeDecline::None;
}

DecodeDecline Walker::leafCell(const unsigned char* end, const unsigned char* cell)
{
    std::uint64_t payload = 0;
    std::uint64_t key = 0;
    const int n1 = readVarint(cell, end, &payload);
    const int n2 = n1 ? readVarint(cell + n1, end, &key) : 0;
    if (n2 == 0)
        return DecodeDecline::CorruptPage;
    if (anyKey_ && std::int64_t(key) <= lastKey_)
        return DecodeDecline::CorruptPage;
    if (!anyKey_)
        firstKey_ = std::int64_t(key);
    anyKey_ = true;
    lastKey_ = std::int64_t(key);
    // The part of the payload stored on the leaf itself.
    const std::uint64_t u = g_.usable;
    const std::uint64_t maxLocal = u - 35;
    std::uint64_t local = payload;
    if (payload > maxLocal) {
        const std::uint64_t minLocal = (u - 12) * 32 / 255 - 23;
        const std::uint64_t k = minLocal + (payload - minLocal) % (u - 4);
        local = k <= maxLocal ? k : minLocal;
    }
    const unsigned char* body = cell + n1 + n2;
    // The local part, and the overflow page number after it when there is one.
    if (std::uint64_t(end - body) < local + (local < payload ? 4 : 0))
        return DecodeDecline::CorruptPage;
    if (local == payload)
        return record(body, std::size_t(local), payload, image_.bytes + image_.size);
    // The rest lies on a chain of overflow pages: gathered into one piece.
    if (payload > kMaxPayload)
        return DecodeDecline::Overflow;
    scratch_.assign(body, body + local);
    std::uint32_t next = be32(body + local);
    const std::size_t perPage = g_.usable - 4;
    while (scratch_.size() < payload) {
        if (next < 2 || next > g_.pageCount || visited_[next])
            return DecodeDecline::CorruptPage;
        visited_[next] = true;
        const unsigned char* page = image_.bytes + std::size_t(next - 1) * g_.pageSize;
        const std::size_t n = std::min<std::size_t>(perPage, std::size_t(payload) - scratch_.size());
        scratch_.insert(scratch_.end(), page + 4, page + 4 + n);
        next = be32(page);
    }
    if (next != 0)
        return DecodeDecline::CorruptPage;
    return record(scratch_.data(), scratch_.size(), payload, scratch_.data() + scratch_.size());
}

DecodeDecline Walker::record(const unsigned char* p, std::size_t local, std::uint64_t size,
                             const unsigned char* safeEnd)
{
    std::uint64_t headerSize = 0;
    const unsigned char* localEnd = p + local;
    const int n = readVarint(p, localEnd, &headerSize);
    if (n == 0)
        return local < size ? DecodeDecline::Overflow : DecodeDecline::OddRecord;
    if (headerSize > size || headerSize < std::uint64_t(n))
        return DecodeDecline::OddRecord;
    if (headerSize > local)
        return DecodeDecline::Overflow;
    // The header first: each field's serial type and where its content lies,
    // kept up to the last field asked for; the whole record must add up.
    // Records of one table mostly repeat the previous one's header byte for
    // byte, and with it every type and offset: it is then not read again.
    const bool sameHeader = headerSize == lastHeaderSize_ && std::memcmp(p, lastHeader_.data(), headerSize) == 0;
    if (!sameHeader) {
        const unsigned char* types = p + n;
        const unsigned char* typesEnd = p + headerSize;
        std::uint64_t contentAt = headerSize;
        std::size_t fields = 0;
        lastHeaderSize_ = 0;   // forgotten until this one adds up
        while (types < typesEnd) {
            // Serial types below 128 (every number, short texts) take one byte.
            std::uint64_t type = *types;
            if (type < 0x80) {
                ++types;
            } else {
                const int t = readVarint(types, typesEnd, &type);
                if (t == 0)
                    return DecodeDecline::OddRecord;
                types += t;
            }
            const long long bytes = contentSize(type);
            if (bytes < 0)
                return DecodeDecline::OddRecord;
            if (fields < fieldType_.size()) {
                fieldType_[fields] = type;
                fieldAt_[fields] = contentAt;
            }
            contentAt += std::uint64_t(bytes);
            ++fields;
        }
        contentSize_ = contentAt;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const std::size_t index = std::size_t(columns_[c].recordIndex);
            ColumnRead& read = reads_[c];
            read.missing = index >= fields;
            if (read.missing)
                continue;
            const std::uint64_t type = fieldType_[index];
            const std::size_t code = type < 12 ? std::size_t(type) : 12 + std::size_t(type & 1);
            read.at = fieldAt_[index];
            read.bytes = std::uint64_t(contentSize(type));
            read.kind = kKindOf[code];
            read.shift = kIntegerShift[code];
            read.mask = kIntegerMask[code];
            read.constant = code == 9;
            read.checkNaN = code == 7;
            read.toReal = columns_[c].realAffinity && read.kind == Kind::Integer;
        }
        if (headerSize <= lastHeader_.size()) {
            std::memcpy(lastHeader_.data(), p, headerSize);
            lastHeaderSize_ = headerSize;
        }
    }
    if (contentSize_ != size)
        return DecodeDecline::OddRecord;
    // Then the columns asked for, each read the same way whatever its type,
    // so that a row's mix of types costs no mispredicted branch.
    CellView* cells = cells_.data();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const ColumnRead& read = reads_[c];
        CellView& cell = cells[c];
        if (read.missing) {
            cell.kind = Kind::Null;
            continue;
        }
        if (read.at + read.bytes > local)
            return DecodeDecline::Overflow;
        const unsigned char* v = p + read.at;
        const std::uint64_t raw = firstEightBytes(v, safeEnd);
        cell.kind = read.kind;
        cell.integer = ((std::int64_t(raw) >> read.shift) & read.mask) | read.constant;
        cell.real = std::bit_cast<double>(raw);
        cell.bytes = std::string_view(reinterpret_cast<const char*>(v), std::size_t(read.bytes));
        if (read.checkNaN && std::isnan(cell.real))
            return DecodeDecline::OddRecord;
        if (read.toReal) {
            cell.kind = Kind::Real;
            cell.real = static_cast<double>(cell.integer);
        }
    }
    return row_(cells) ? DecodeDecline::None : DecodeDecline::Stopped;
}

// Whether the runs, each walked apart, make the single walk: no page reached
// from two of them (the root aside, which each one opened), and keys that go
// on rising from one run to the next, dividers included.
DecodeDecline joinRuns(const std::vector<std::unique_ptr<Walker>>& walkers, std::uint32_t root)
{
    std::vector<bool> seen(walkers.front()->visited().size(), false);
    for (const auto& walker : walkers) {
        const std::vector<bool>& visited = walker->visited();
        for (std::size_t page = 0; page < visited.size(); ++page) {
            if (!visited[page] || page == root)
                continue;
            if (seen[page])
                return DecodeDecline::CorruptPage;
            seen[page] = true;
        }
    }
    std::optional<std::int64_t> last;
    for (const auto& walker : walkers) {
        if (last && walker->earlyDivider() && *last > *walker->earlyDivider())
            return DecodeDecline::CorruptPage;
        if (!walker->anyKey())
            continue;
        if (last && *last >= walker->firstKey())
            return DecodeDecline::CorruptPage;
        last = walker->lastKey();
    }
    return DecodeDecline::None;
}

} // namespace

DecodeDecline decodeTableRows(const TableImage& image, const std::vector<DecodedColumn>& columns, const RowHandler& row)
{
    return decodeTableRowsInRuns(image, columns, {row});
}

DecodeDecline decodeTableRowsInRuns(const TableImage& image, const std::vector<DecodedColumn>& columns,
                                    const std::vector<RowHandler>& runs)
{
    if (runs.empty() || columns.size() > std::size_t(kMaxColumns) || image.size < kFileHeader
        || std::memcmp(image.bytes, "SQLite format 3", 16) != 0)
        return DecodeDecline::BadHeader;
    const unsigned char* h = image.bytes;
    Geometry g;
    g.pageSize = be16(h + 16) == 1 ? 65536 : be16(h + 16);
    if (g.pageSize < 512 || g.pageSize > 65536 || (g.pageSize & (g.pageSize - 1)) != 0 || image.size % g.pageSize != 0)
        return DecodeDecline::BadHeader;
    g.usable = g.pageSize - h[20];
    // Only the current schema format; its fixed payload fractions.
    if (g.usable < 480 || be32(h + 44) != 4 || h[21] != 64 || h[22] != 32 || h[23] != 32)
        return DecodeDecline::BadHeader;
    if (be32(h + 56) != 1)
        return DecodeDecline::NotUtf8;
    g.pageCount = std::uint32_t(image.size / g.pageSize);

    // One run, or a root that is a single leaf (or no page at all: the walk says why).
    const bool interiorRoot = image.rootPage >= 2 && image.rootPage <= g.pageCount
                              && image.bytes[std::size_t(image.rootPage - 1) * g.pageSize] == kInteriorTable;
    if (runs.size() == 1 || !interiorRoot)
        return Walker(image, g, columns, runs.front(), nullptr).walk(image.rootPage, 0);
    std::atomic<bool> abandon{false};
    std::vector<std::unique_ptr<Walker>> walkers;
    for (const RowHandler& run : runs)
        walkers.push_back(std::make_unique<Walker>(image, g, columns, run, &abandon));
    PageView root;
    if (const DecodeDecline d = walkers.front()->open(image.rootPage, 0, &root); d != DecodeDecline::None)
        return d;

    const std::size_t children = root.cells + 1;
    std::vector<DecodeDecline> declines(walkers.size(), DecodeDecline::None);
    std::vector<std::exception_ptr> failures(walkers.size());
    const auto walkRun = [&](std::size_t k) {
        try {
            Walker& walker = *walkers[k];
            walker.markVisited(image.rootPage);
            declines[k] = walker.walkChildren(root, k * children / walkers.size(), (k + 1) * children / walkers.size(), 0);
        } catch (...) {
            failures[k] = std::current_exception();
        }
        if (declines[k] != DecodeDecline::None || failures[k])
            abandon.store(true, std::memory_order_relaxed);
    };
    std::vector<std::thread> threads;
    std::vector<std::size_t> walkedHere;
    for (std::size_t k = 1; k < walkers.size(); ++k) {
        try {
            threads.emplace_back(walkRun, k);
        } catch (const std::system_error&) {
            walkedHere.push_back(k);   // no thread to be had: walked here, after the first run
        }
    }
    walkRun(0);
    for (const std::size_t k : walkedHere)
        walkRun(k);
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
    for (std::size_t k = 0; k < walkers.size(); ++k) {
        if (declines[k] != DecodeDecline::None && !walkers[k]->abandoned())
            return declines[k];
    }
    return joinRuns(walkers, image.rootPage);
}

} // namespace uriage::data
