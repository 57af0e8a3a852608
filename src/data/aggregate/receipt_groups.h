#pragma once
// Grouping receipts in memory the way the aggregate statements group them:
// one group per distinct combination of key values (NULLs form one group,
// whole and floating-point numbers compare by value, texts and byte strings by
// their bytes), a row count and one sum per summed column, groups handed out in
// ascending key order.
//
// Where SQLite's own answer could depend on the order in which it visits the
// rows, the grouping declines instead of guessing: a group whose key values
// are equal but stored differently (5 and 5.0, 0.0 and -0.0), a sum over a
// text or byte string, a whole-number sum that could overflow, and a
// floating-point sum that is not exact in every order. The caller then lets
// SQLite compute the result itself.
#include "data/statement/column_reading.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace uriage::data {

// One value of a row as the table stores it, borrowed for the time of one row.
struct CellView {
    StoredValue::Kind kind = StoredValue::Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;
};

class ReceiptGroups {
public:
    ReceiptGroups(int keyColumns, int sumColumns);

    // Adds one row: `keys` then `sums`. False once the grouping declined; the
    // rows added so far are then of no use.
    bool add(const CellView* keys, const CellView* sums);

    // Takes in the groups of `other`, made with the same columns over rows that
    // all follow this one's in the table, as if those rows had been added
    // here. False once the grouping declined (either one had, or a key of
    // `other` matches one here only by value).
    bool absorb(const ReceiptGroups& other);

    // Hands the result rows to `deliver` in ascending key order: the keys, the row
    // count, the sums (one buffer, reused from row to row). False, before any
    // row, when a sum is not certain.
    bool rows(const std::function<void(const std::vector<StoredValue>&)>& deliver) const;

private:
    // A key value in 16 bytes, read by its kind: a whole number, a
    // floating-point number's bits, or where in text_ a text or byte string
    // lies (offset in the high half, length in the low).
    struct Key {
        std::uint64_t bits = 0;
        StoredValue::Kind kind = StoredValue::Kind::Null;

        std::int64_t integer() const { return kind == StoredValue::Kind::Integer ? std::int64_t(bits) : 0; }
        double real() const { return kind == StoredValue::Kind::Real ? std::bit_cast<double>(bits) : 0.0; }
        std::uint32_t offset() const { return std::uint32_t(bits >> 32); }
        std::uint32_t length() const { return std::uint32_t(bits); }
    };
    // One column's sum over a group. Whole numbers and floating-point numbers
    // are added apart; SQLite's floating-point total is their sum when every
    // partial sum is exact, which rows() checks.
    struct Sum {
        std::uint64_t values = 0;            // non-null values
        std::int64_t integerSum = 0;         // wraps; valid while integerMagnitude fits
        std::uint64_t integerMagnitude = 0;  // sum of |whole number|, saturating
        std::uint64_t integerBits = 0;       // every |whole number| or-ed together
        double realSum = 0;                  // the floating-point values only
        double realMagnitude = 0;
        int lowestRealBit = 1 << 20;         // exponent of the lowest bit set in any of them
        bool anyReal = false;
        bool unusual = false;                // an infinite value, or a whole number beyond 2^53
    };
    struct Group {
        std::uint64_t hash = 0;
        std::int64_t count = 0;              // its keys and sums lie at its index times the column counts
    };
    enum class Match { Different, Same, Ambiguous };

    static std::uint64_t hashOf(const CellView* keys, int n);
    Match matches(std::size_t group, const CellView* keys) const;
    void accumulate(std::size_t group, const CellView* sums);
    // Adds a row's sums to the group its keys match; an ambiguous match declines.
    bool join(std::size_t group, Match match, const CellView* sums);
    // A new group for `keys` in the empty `slot`; false when there is no room.
    bool insertGroup(std::uint64_t hash, std::size_t slot, const CellView* keys);
    // The group whose keys are `keys` (hashed to `hash`), a new one when none
    // is; SIZE_MAX once the grouping declined.
    std::size_t findOrInsert(std::uint64_t hash, const CellView* keys);
    bool sumsAreCertain() const;
    void fillRow(std::size_t group, std::vector<StoredValue>& row) const;
    void grow();
    int compareGroups(std::size_t a, std::size_t b) const;
    std::string_view textOf(const Key& key) const
    {
        if (key.kind != StoredValue::Kind::Text && key.kind != StoredValue::Kind::Blob)
            return {};
        return std::string_view(text_).substr(key.offset(), key.length());
    }

    int keyColumns_;
    int sumColumns_;
    bool declined_ = false;
    std::vector<Group> groups_;
    std::vector<Key> keys_;
    std::vector<Sum> sums_;
    std::string text_;
    std::vector<std::uint32_t> slots_;   // open addressing: group index + 1, 0 when empty
    std::size_t last_ = SIZE_MAX;        // the group of the previous row
};

// SQLite's order of two stored values under the binary collation: NULL first,
// then numbers by value, then texts, then byte strings, both by their bytes.
int compareStored(StoredValue::Kind ak, std::int64_t ai, double ar, std::string_view ab,
                  StoredValue::Kind bk, std::int64_t bi, double br, std::string_view bb);

} // namespace uriage::data
