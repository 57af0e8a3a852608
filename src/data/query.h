#pragma once
// The query object a chart window owns: one aggregate statement, a stored
// filter text and flag, and while open a read-only in-memory copy of the
// result with a forward cursor over the rows that pass the filter.
#include "data/dataset.h"
#include "data/field_value.h"
#include "data/query_texts.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace uriage::data {

class CompiledFilter;
class Connection;
class Engine;
class Query;

// A column of the query's current row.
class QueryField : public Field {
public:
    QueryField(const Query& query, std::size_t column) : query_(query), column_(column) {}

    QString fieldName() const override;
    bool isNull() const override;
    double asFloat() const override;
    QString displayText() const override;

    FieldType type() const;
    const Value& value() const;

private:
    const Query& query_;
    std::size_t column_;
};

class Query : public DataSet {
public:
    // The engine is started and asked for the connection at the first open.
    Query(Engine& engine, QString componentName, QueryKind kind);
    ~Query() override;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const QString& componentName() const { return componentName_; }
    QueryKind kind() const { return kind_; }
    const QString& sql() const { return statement_.sql; }

    void setDatabaseName(const QString& name);   // only stored while closed
    const QString& databaseName() const { return databaseName_; }
    void setFilterText(const QString& text);      // only stored while closed
    const QString& filterText() const { return filterText_; }
    void setFiltered(bool on);                    // only stored while closed
    bool filtered() const { return filtered_; }

    // Runs the statement and installs the filter; nothing when already open.
    // Throws Failure (EngineError from the engine), leaving the query closed.
    void open();
    // Nothing when already closed.
    void close();

    DataSetState state() const override { return state_; }
    void first() override;
    void next() override;
    bool eof() const override;
    Bookmark bookmark() const override;
    void gotoBookmark(const Bookmark& bookmark) override;
    void freeBookmark(const Bookmark&) override {}
    void disableControls() override;
    void enableControls() override;
    const Field& fieldByName(const QString& name) const override;
    void addObserver(DataSetObserver* observer) override;
    void removeObserver(DataSetObserver* observer) override;

    // Null when no column has that name (letter case ignored).
    const QueryField* findField(const QString& name) const;
    const std::vector<ColumnInfo>& columns() const { return table_.columns; }
    std::size_t fieldCount() const { return fields_.size(); }
    const QueryField& field(std::size_t index) const { return *fields_.at(index); }
    // Rows that pass the filter while open.
    std::size_t recordCount() const { return visible_.size(); }
    // The current row; null at the end of the rows.
    const Row* currentRow() const;

    // How long the table file's read lock was held by the last open.
    double lastLockMilliseconds() const { return lastLockMilliseconds_; }
    // How many lock-free copies of the table file the last open tried.
    int lastCopyTries() const { return lastCopyTries_; }

private:
    void setState(DataSetState state);
    void installFilter();

    Engine& engine_;
    QString componentName_;
    QueryKind kind_;
    StatementRequest statement_;
    QString databaseName_;
    QString filterText_;
    bool filtered_ = false;

    DataSetState state_ = DataSetState::Inactive;
    std::shared_ptr<Connection> connection_;
    ResultTable table_;
    std::vector<std::size_t> visible_;   // indices of the passing rows
    std::size_t position_ = 0;           // index into visible_
    std::vector<std::unique_ptr<QueryField>> fields_;
    std::vector<DataSetObserver*> observers_;
    int disableCount_ = 0;
    bool stateChangePending_ = false;
    double lastLockMilliseconds_ = 0;
    int lastCopyTries_ = 0;
};

// Switches a filter on: compiles it and keeps the rows it passes. Evaluating a
// filter cannot fail; keeping the passing rows can only run out of memory.
// Then the filter is dropped, compiled and applied a second time; a second
// shortage fails with the engine's out-of-memory message.
std::vector<std::size_t> switchFilterOn(const std::function<std::unique_ptr<CompiledFilter>()>& compile,
                                        const std::function<std::vector<std::size_t>(const CompiledFilter&)>& apply);

} // namespace uriage::data
