#include "data/aggregate/receipt_groups.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace uriage::data {
namespace {

using Kind = StoredValue::Kind;

int kindClass(Kind kind)
{
    switch (kind) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
    case Kind::Real:
        return 1;
    case Kind::Text:
        return 2;
    case Kind::Blob:
        return 3;
    }
    return 0;
}

// A whole number against a floating-point number, exactly.
int compareIntegerReal(std::int64_t i, double r)
{
    if (r < -9223372036854775808.0)
        return 1;
    if (r >= 9223372036854775808.0)
        return -1;
    const auto whole = static_cast<std::int64_t>(r);   // toward zero, exact here
    if (i != whole)
        return i < whole ? -1 : 1;
    const double fraction = r - static_cast<double>(whole);
    return fraction > 0 ? -1 : (fraction < 0 ? 1 : 0);
}

// a + b, or the largest value when that overflows.
std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t total = a + b;
    return total < b ? std::numeric_limits<std::uint64_t>::max() : total;
}

int compareBytes(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    if (n > 0) {
        if (const int c = std::memcmp(a.data(), b.data(), n))
            return c < 0 ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::uint64_t mix(std::uint64_t h, std::uint64_t v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h *= 0xff51afd7ed558ccdULL;
    return h ^ (h >> 33);
}

// Exponent of the lowest bit set in a non-zero finite floating-point number.
int lowestBitExponent(double d)
{
    const auto bits = std::bit_cast<std::uint64_t>(d);
    const int exponent = int((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    if (exponent == 0)
        return -1074 + std::countr_zero(mantissa);
    mantissa |= std::uint64_t(1) << 52;
    return exponent - 1075 + std::countr_zero(mantissa);
}

} // namespace

int compareStored(Kind ak, std::int64_t ai, double ar, std::string_view ab, Kind bk, std::int64_t bi, double br,
                  std::string_view bb)
{
    const int ac = kindClass(ak);
    const int bc = kindClass(bk);
    if (ac != bc)
        return ac < bc ? -1 : 1;
    switch (ac) {
    case 0:
        return 0;
    case 1:
        if (ak == Kind::Integer && bk == Kind::Integer)
            return ai == bi ? 0 : (ai < bi ? -1 : 1);
        if (ak == Kind::Real && bk == Kind::Real)
            return ar == br ? 0 : (ar < br ? -1 : 1);
        if (ak == Kind::Integer)
            return compareIntegerReal(ai, br);
        return -compareIntegerReal(bi, ar);
    default:
        return compareBytes(ab, bb);
    }
}

ReceiptGroups::ReceiptGroups(int keyColumns, int sumColumns)
    : keyColumns_(keyColumns), sumColumns_(sumColumns), slots_(std::size_t(1) << 16, 0)
{
    // Room for many groups up front: untouched room costs no memory, and the
    // groups are never moved while they grow. Nor is anything allocated for
    // the first groups: a grouping fed on a thread of its own then leaves no
    // memory behind in that thread's allocator.
    constexpr std::size_t kGroups = 1 << 16;
    groups_.reserve(kGroups);
    keys_.reserve(kGroups * std::size_t(keyColumns));
    sums_.reserve(kGroups * std::size_t(sumColumns));
    text_.reserve(kGroups * 16);
}

std::uint64_t ReceiptGroups::hashOf(const CellView* keys, int n)
{
    std::uint64_t h = 0;
    for (int c = 0; c < n; ++c) {
        const CellView& k = keys[c];
        switch (k.kind) {
        case Kind::Null:
            h = mix(h, 0);
            break;
        case Kind::Integer:
            h = mix(h, 1);
            h = mix(h, std::uint64_t(k.integer));
            break;
        case Kind::Real:
            // Equal to a whole number: hashed as that number.
            h = mix(h, 1);
            if (k.real >= -9223372036854775808.0 && k.real < 9223372036854775808.0 && k.real == std::trunc(k.real))
                h = mix(h, std::uint64_t(static_cast<std::int64_t>(k.real)));
            else
                h = mix(h, std::bit_cast<std::uint64_t>(k.real));
            break;
        case Kind::Text:
        case Kind::Blob:
            h = mix(h, k.kind == Kind::Text ? 2 : 3);
            h = mix(h, std::hash<std::string_view>{}(k.bytes));
            break;
        }
    }
    return h;
}

ReceiptGroups::Match ReceiptGroups::matches(std::size_t group, const CellView* keys) const
{
    const Key* own = &keys_[group * std::size_t(keyColumns_)];
    bool ambiguous = false;
    for (int c = 0; c < keyColumns_; ++c) {
        const Key& a = own[c];
        const CellView& b = keys[c];
        if (a.kind == b.kind) {
            // The usual case: the same kind, compared directly.
            switch (a.kind) {
            case Kind::Null:
                continue;
            case Kind::Integer:
                if (a.integer() != b.integer)
                    return Match::Different;
                continue;
            case Kind::Real:
                if (a.real() != b.real)
                    return Match::Different;
                // 0.0 and -0.0: which one SQLite shows depends on the row order.
                if (a.bits != std::bit_cast<std::uint64_t>(b.real))
                    ambiguous = true;
                continue;
            case Kind::Text:
            case Kind::Blob:
                if (a.length() != b.bytes.size()
                    || (a.length() && std::memcmp(text_.data() + a.offset(), b.bytes.data(), a.length()) != 0))
                    return Match::Different;
                continue;
            }
        }
        if (compareStored(a.kind, a.integer(), a.real(), textOf(a), b.kind, b.integer, b.real, b.bytes) != 0)
            return Match::Different;
        // Equal by value but stored differently (5 and 5.0).
        ambiguous = true;
    }
    return ambiguous ? Match::Ambiguous : Match::Same;
}

void ReceiptGroups::accumulate(std::size_t group, const CellView* values)
{
    ++groups_[group].count;
    Sum* sums = &sums_[group * std::size_t(sumColumns_)];
    for (int c = 0; c < sumColumns_; ++c) {
        const CellView& v = values[c];
        Sum& sum = sums[c];
        switch (v.kind) {
        case Kind::Null:
            break;
        case Kind::Integer: {
            const std::uint64_t magnitude = v.integer < 0 ? 0 - std::uint64_t(v.integer) : std::uint64_t(v.integer);
            ++sum.values;
            sum.integerSum = std::int64_t(std::uint64_t(sum.integerSum) + std::uint64_t(v.integer));
            sum.integerMagnitude = saturatingAdd(sum.integerMagnitude, magnitude);
            sum.integerBits |= magnitude;
            if (magnitude > (std::uint64_t(1) << 53))
                sum.unusual = true;
            break;
        }
        case Kind::Real:
            ++sum.values;
            sum.anyReal = true;
            sum.realSum += v.real;
            sum.realMagnitude += std::fabs(v.real);
            if (!std::isfinite(v.real))
                sum.unusual = true;
            else if (v.real != 0)
                sum.lowestRealBit = std::min(sum.lowestRealBit, lowestBitExponent(v.real));
            break;
        case Kind::Text:
        case Kind::Blob:
            // SQLite reads a number out of the text its own way.
            declined_ = true;
            return;
        }
    }
}

void ReceiptGroups::grow()
{
    std::vector<std::uint32_t> table(slots_.size() * 2, 0);
    const std::size_t mask = table.size() - 1;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        std::size_t pos = groups_[g].hash & mask;
        while (table[pos])
            pos = (pos + 1) & mask;
        table[pos] = std::uint32_t(g + 1);
    }
    slots_.swap(table);
}

bool ReceiptGroups::add(const CellView* keys, const CellView* sums)
{
    if (declined_)
        return false;
    // Rows of one day usually follow each other: try the last group first.
    if (last_ != SIZE_MAX) {
        const Match m = matches(last_, keys);
        if (m != Match::Different)
            return join(last_, m, sums);
    }
    const std::size_t group = findOrInsert(hashOf(keys, keyColumns_), keys);
    return group != SIZE_MAX && join(group, Match::Same, sums);
}

std::size_t ReceiptGroups::findOrInsert(std::uint64_t hash, const CellView* keys)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t pos = hash & mask;
    for (; slots_[pos]; pos = (pos + 1) & mask) {
        const std::size_t g = slots_[pos] - 1;
        if (groups_[g].hash != hash)
            continue;
        const Match m = matches(g, keys);
        if (m == Match::Same)
            return g;
        if (m == Match::Ambiguous) {
            declined_ = true;
            return SIZE_MAX;
        }
    }
    if (!insertGroup(hash, pos, keys)) {
        declined_ = true;
        return SIZE_MAX;
    }
    return groups_.size() - 1;
}

bool ReceiptGroups::absorb(const ReceiptGroups& other)
{
    if (other.declined_)
        declined_ = true;
    if (declined_)
        return false;
    std::vector<CellView> keys(static_cast<std::size_t>(keyColumns_));
    for (std::size_t g = 0; g < other.groups_.size(); ++g) {
        for (int c = 0; c < keyColumns_; ++c) {
            const Key& k = other.keys_[g * std::size_t(keyColumns_) + std::size_t(c)];
            keys[std::size_t(c)] = CellView{k.kind, k.integer(), k.real(), other.textOf(k)};
        }
        const std::size_t into = findOrInsert(other.groups_[g].hash, keys.data());
        if (into == SIZE_MAX)
            return false;
        groups_[into].count += other.groups_[g].count;
        for (int c = 0; c < sumColumns_; ++c) {
            Sum& sum = sums_[into * std::size_t(sumColumns_) + std::size_t(c)];
            const Sum& more = other.sums_[g * std::size_t(sumColumns_) + std::size_t(c)];
            // Each part is order-free, so their union is too (see sumsAreCertain).
            sum.values += more.values;
            sum.integerSum = std::int64_t(std::uint64_t(sum.integerSum) + std::uint64_t(more.integerSum));
            sum.integerMagnitude = saturatingAdd(sum.integerMagnitude, more.integerMagnitude);
            sum.integerBits |= more.integerBits;
            sum.realSum += more.realSum;
            sum.realMagnitude += more.realMagnitude;
            sum.lowestRealBit = std::min(sum.lowestRealBit, more.lowestRealBit);
            sum.anyReal = sum.anyReal || more.anyReal;
            sum.unusual = sum.unusual || more.unusual;
        }
    }
    last_ = SIZE_MAX;
    return true;
}

bool ReceiptGroups::join(std::size_t group, Match match, const CellView* sums)
{
    if (match == Match::Ambiguous) {
        declined_ = true;
        return false;
    }
    last_ = group;
    accumulate(group, sums);
    return !declined_;
}

bool ReceiptGroups::insertGroup(std::uint64_t hash, std::size_t slot, const CellView* keys)
{
    if (groups_.size() >= std::numeric_limits<std::uint32_t>::max() - 1)
        return false;
    const std::size_t g = groups_.size();
    groups_.push_back(Group{hash, 0});
    for (int c = 0; c < keyColumns_; ++c) {
        const CellView& k = keys[c];
        Key key{0, k.kind};
        if (k.kind == Kind::Integer) {
            key.bits = std::uint64_t(k.integer);
        } else if (k.kind == Kind::Real) {
            key.bits = std::bit_cast<std::uint64_t>(k.real);
        } else if (k.kind == Kind::Text || k.kind == Kind::Blob) {
            if (text_.size() + k.bytes.size() > std::numeric_limits<std::uint32_t>::max())
                return false;
            key.bits = (std::uint64_t(text_.size()) << 32) | std::uint64_t(k.bytes.size());
            text_.append(k.bytes);
        }
        keys_.push_back(key);
    }
    sums_.resize(sums_.size() + std::size_t(sumColumns_));
    slots_[slot] = std::uint32_t(g + 1);
    if (groups_.size() * 2 > slots_.size())
        grow();
    return true;
}

int ReceiptGroups::compareGroups(std::size_t a, std::size_t b) const
{
    const Key* ka = &keys_[a * std::size_t(keyColumns_)];
    const Key* kb = &keys_[b * std::size_t(keyColumns_)];
    for (int c = 0; c < keyColumns_; ++c) {
        if (const int r = compareStored(ka[c].kind, ka[c].integer(), ka[c].real(), textOf(ka[c]), kb[c].kind,
                                        kb[c].integer(), kb[c].real(), textOf(kb[c])))
            return r;
    }
    return 0;
}

bool ReceiptGroups::sumsAreCertain() const
{
    // Every sum must be certain whatever order SQLite adds in: whole numbers
    // that cannot overflow on the way, floating-point numbers all of whose
    // partial sums are exact (a common lowest bit and room above the total).
    for (const Sum& sum : sums_) {
        if (sum.integerMagnitude > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            return false;
        if (!sum.anyReal)
            continue;
        if (sum.unusual)
            return false;
        int lowestBit = sum.lowestRealBit;
        if (sum.integerBits)
            lowestBit = std::min(lowestBit, std::countr_zero(sum.integerBits));
        const double magnitude = sum.realMagnitude + static_cast<double>(sum.integerMagnitude);
        if (magnitude > 0) {
            const double room = std::ldexp(1.0, 52 + std::min(lowestBit, 1100));
            if (!std::isfinite(room) || !std::isfinite(magnitude) || magnitude > room)
                return false;
        }
    }
    return true;
}

void ReceiptGroups::fillRow(std::size_t g, std::vector<StoredValue>& row) const
{
    std::size_t at = 0;
    for (int c = 0; c < keyColumns_; ++c) {
        const Key& k = keys_[g * std::size_t(keyColumns_) + std::size_t(c)];
        StoredValue& v = row[at++];
        v.kind = k.kind;
        v.integer = k.integer();
        v.real = k.real();
        if (k.kind == Kind::Text || k.kind == Kind::Blob)
            v.bytes = QByteArray(text_.data() + k.offset(), qsizetype(k.length()));
        else
            v.bytes.clear();
    }
    StoredValue& count = row[at++];
    count.kind = Kind::Integer;
    count.integer = groups_[g].count;
    for (int c = 0; c < sumColumns_; ++c) {
        const Sum& sum = sums_[g * std::size_t(sumColumns_) + std::size_t(c)];
        StoredValue& v = row[at++];
        if (sum.values == 0) {
            v.kind = Kind::Null;
        } else if (sum.anyReal) {
            // Exact, so the same whatever order SQLite adds in.
            v.kind = Kind::Real;
            v.real = sum.realSum + static_cast<double>(sum.integerSum);
        } else {
            v.kind = Kind::Integer;
            v.integer = sum.integerSum;
        }
    }
}

bool ReceiptGroups::rows(const std::function<void(const std::vector<StoredValue>&)>& deliver) const
{
    if (declined_ || !sumsAreCertain())
        return false;
    std::vector<std::size_t> order(groups_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // Receipts saved day after day make their groups in ascending order already.
    bool ascending = true;
    for (std::size_t i = 1; i < order.size() && ascending; ++i)
        ascending = compareGroups(i - 1, i) < 0;
    if (!ascending)
        std::sort(order.begin(), order.end(),
                  [this](std::size_t a, std::size_t b) { return compareGroups(a, b) < 0; });
    std::vector<StoredValue> row(std::size_t(keyColumns_ + 1 + sumColumns_));
    for (const std::size_t g : order) {
        fillRow(g, row);
        deliver(row);
    }
    return true;
}

} // namespace uriage::data
