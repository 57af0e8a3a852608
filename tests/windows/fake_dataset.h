#pragma once
// A query stand-in for the chart binding: rows held in memory, state changes
// announced to observers, and a record of what the binding did to it.
#include "common/failure.h"
#include "data/dataset.h"

#include <QHash>
#include <map>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

namespace uriage::chart::testing {

struct Cell {
    bool null = true;
    double number = 0;
    QString text;
};

inline Cell num(double value) { return Cell{false, value, QString::number(value, 'g', 17)}; }
inline Cell date(double dayNumber, const QString& shown) { return Cell{false, dayNumber, shown}; }
inline Cell null() { return Cell{}; }

using FakeRow = QHash<QString, Cell>;

class FakeField : public data::Field {
public:
    QString name;
    Cell cell;
    QString fieldName() const override { return name; }
    bool isNull() const override { return cell.null; }
    double asFloat() const override { return cell.null ? 0 : cell.number; }
    QString displayText() const override { return cell.null ? QString() : cell.text; }
};

class FakeDataSet : public data::DataSet {
public:
    QStringList columns;
    std::vector<FakeRow> rows;
    std::size_t rowAfterOpen = 0;        // where open leaves the current row
    std::function<void()> onFirst;       // called inside the binding's pass

    // What the binding did.
    int controlsDisabled = 0;            // current suspension depth
    int maxControlsDisabled = 0;
    int firstCalls = 0;
    int bookmarksFreed = 0;
    std::size_t position = 0;

    void open()
    {
        state_ = data::DataSetState::Browse;
        position = rowAfterOpen;
        announce(state_);
    }
    void close()
    {
        state_ = data::DataSetState::Inactive;
        announce(state_);
    }
    void announce(data::DataSetState state)
    {
        const auto observers = observers_;
        for (auto* observer : observers)
            observer->dataSetStateChanged(state);
    }
    std::size_t observerCount() const { return observers_.size(); }

    data::DataSetState state() const override { return state_; }
    void first() override
    {
        ++firstCalls;
        position = 0;
        if (onFirst)
            onFirst();
    }
    void next() override { ++position; }
    bool eof() const override { return position >= rows.size(); }
    data::Bookmark bookmark() const override
    {
        return rows.empty() ? data::Bookmark() : data::Bookmark(position);
    }
    void gotoBookmark(const data::Bookmark& b) override
    {
        if (b)
            position = *b;
    }
    void freeBookmark(const data::Bookmark&) override { ++bookmarksFreed; }
    void disableControls() override
    {
        ++controlsDisabled;
        maxControlsDisabled = std::max(maxControlsDisabled, controlsDisabled);
    }
    void enableControls() override { --controlsDisabled; }

    const data::Field& fieldByName(const QString& name) const override
    {
        if (!columns.contains(name))
            throw componentFailure(QStringLiteral("Query1"),
                                   QStringLiteral("項目 '%1' が見つかりません").arg(name));
        FakeField& field = fields_[name];
        field.name = name;
        field.cell = rows.at(position).value(name);
        return field;
    }

    void addObserver(data::DataSetObserver* o) override { observers_.push_back(o); }
    void removeObserver(data::DataSetObserver* o) override
    {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
    }

private:
    data::DataSetState state_ = data::DataSetState::Inactive;
    std::vector<data::DataSetObserver*> observers_;
    mutable std::map<QString, FakeField> fields_; // node-based: references stay valid
};

} // namespace uriage::chart::testing
