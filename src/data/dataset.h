#pragma once
// What a chart needs of the query it is bound to: state notifications, forward
// reading, saved row positions, and typed access to the current row's columns.
#include <QString>
#include <cstddef>
#include <optional>

namespace uriage::data {

enum class DataSetState { Inactive, Browse, Other };

class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    virtual void dataSetStateChanged(DataSetState newState) = 0;
};

// A column of the current row.
class Field {
public:
    virtual ~Field() = default;
    virtual QString fieldName() const = 0;
    virtual bool isNull() const = 0;
    // 0 when null; a date gives its day number since 30 December 1899.
    virtual double asFloat() const = 0;
    // Empty when null; a date in the short date format; a whole number as its digits.
    virtual QString displayText() const = 0;
};

using Bookmark = std::optional<std::size_t>;

class DataSet {
public:
    virtual ~DataSet() = default;

    virtual DataSetState state() const = 0;
    bool isOpen() const { return state() != DataSetState::Inactive; }

    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;

    virtual Bookmark bookmark() const = 0;        // none on an empty result
    virtual void gotoBookmark(const Bookmark&) = 0; // nothing for none
    virtual void freeBookmark(const Bookmark&) = 0;

    virtual void disableControls() = 0;
    virtual void enableControls() = 0;

    // Throws Failure "<component>: 項目 '<name>' が見つかりません" when absent.
    virtual const Field& fieldByName(const QString& name) const = 0;

    virtual void addObserver(DataSetObserver* observer) = 0;
    virtual void removeObserver(DataSetObserver* observer) = 0;
};

} // namespace uriage::data
