#include "data/query.h"

#include "common/cp932.h"
#include "data/engine.h"
#include "data/engine_error.h"
#include "common/failure.h"
#include "data/field_text.h"
#include "data/filter/filter.h"
#include "common/regional_settings.h"

#include <algorithm>
#include <new>

namespace uriage::data {

namespace {
const Value& nullValue()
{
    static const Value none;
    return none;
}
} // namespace

QString QueryField::fieldName() const { return query_.columns().at(column_).name; }
FieldType QueryField::type() const { return query_.columns().at(column_).type; }

const Value& QueryField::value() const
{
    const Row* row = query_.currentRow();
    return row ? (*row)[column_] : nullValue();
}

bool QueryField::isNull() const { return data::isNull(value()); }
double QueryField::asFloat() const { return valueAsFloat(value()); }
QString QueryField::displayText() const { return valueDisplayText(value(), RegionalSettings::current()); }

Query::Query(Engine& engine, QString componentName, QueryKind kind)
    : engine_(engine), componentName_(std::move(componentName)), kind_(kind), statement_(aggregateStatement(kind)), databaseName_(defaultDatabaseName())
{
}

Query::~Query()
{
    observers_.clear();
    close();
}

void Query::setDatabaseName(const QString& name)
{
    if (state_ == DataSetState::Inactive)
        databaseName_ = name;
}

void Query::setFilterText(const QString& text)
{
    if (state_ == DataSetState::Inactive)
        filterText_ = text;
}

void Query::setFiltered(bool on)
{
    if (state_ == DataSetState::Inactive)
        filtered_ = on;
}

void Query::open()
{
    if (state_ != DataSetState::Inactive)
        return;
    engine_.start();
    std::shared_ptr<Connection> connection = engine_.connect(databaseName_);
    connection->addUser();
    try {
        table_ = connection->run(statement_);
        lastLockMilliseconds_ = connection->lastLockMilliseconds();
        lastCopyTries_ = connection->lastCopyTries();
        for (std::size_t c = 0; c < table_.columns.size(); ++c)
            fields_.push_back(std::make_unique<QueryField>(*this, c));
        installFilter();
    } catch (...) {
        connection->releaseUser();
        table_ = {};
        fields_.clear();
        visible_.clear();
        throw;
    }
    connection_ = std::move(connection);
    position_ = 0;
    setState(DataSetState::Browse);
}

// Compiles the stored filter text against the result's columns and, with the
// flag on, keeps the passing rows.
void Query::installFilter()
{
    visible_.clear();
    if (filterText_.isEmpty() || !filtered_) {
        if (!filterText_.isEmpty())
            compileFilter(cp932::encode(filterText_), table_.columns, componentName_, RegionalSettings::current());
        visible_.resize(table_.rows.size());
        for (std::size_t i = 0; i < visible_.size(); ++i)
            visible_[i] = i;
        return;
    }
    auto compile = [this] {
        return compileFilter(cp932::encode(filterText_), table_.columns, componentName_, RegionalSettings::current());
    };
    auto apply = [this](const CompiledFilter& filter) {
        std::vector<std::size_t> passing;
        for (std::size_t i = 0; i < table_.rows.size(); ++i) {
            if (filter.passes(table_.rows[i]))
                passing.push_back(i);
        }
        return passing;
    };
    visible_ = switchFilterOn(compile, apply);
}

std::vector<std::size_t> switchFilterOn(const std::function<std::unique_ptr<CompiledFilter>()>& compile,
                                        const std::function<std::vector<std::size_t>(const CompiledFilter&)>& apply)
{
    std::unique_ptr<CompiledFilter> filter = compile();
    try {
        return apply(*filter);
    } catch (const std::bad_alloc&) {
        filter.reset();
    }
    filter = compile();
    try {
        return apply(*filter);
    } catch (const std::bad_alloc&) {
        throw EngineError(EngineStatus::OutOfMemory);
    }
}

void Query::close()
{
    if (state_ == DataSetState::Inactive)
        return;
    setState(DataSetState::Inactive);
    table_ = {};
    fields_.clear();
    visible_.clear();
    visible_.shrink_to_fit();
    position_ = 0;
    if (connection_) {
        connection_->releaseUser();
        connection_.reset();
    }
}

void Query::setState(DataSetState state)
{
    state_ = state;
    if (disableCount_ > 0) {
        stateChangePending_ = true;
        return;
    }
    const std::vector<DataSetObserver*> observers = observers_;
    for (DataSetObserver* observer : observers)
        observer->dataSetStateChanged(state);
}

void Query::first() { position_ = 0; }

void Query::next()
{
    if (position_ < visible_.size())
        ++position_;
}

bool Query::eof() const { return position_ >= visible_.size(); }

Bookmark Query::bookmark() const
{
    if (state_ == DataSetState::Inactive || visible_.empty())
        return std::nullopt;
    return position_;
}

void Query::gotoBookmark(const Bookmark& bookmark)
{
    if (bookmark && state_ != DataSetState::Inactive)
        position_ = std::min(*bookmark, visible_.size());
}

void Query::disableControls() { ++disableCount_; }

void Query::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0 && stateChangePending_) {
        stateChangePending_ = false;
        setState(state_);
    }
}

const QueryField* Query::findField(const QString& name) const
{
    for (const auto& field : fields_) {
        if (field->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    }
    return nullptr;
}

const Field& Query::fieldByName(const QString& name) const
{
    if (const QueryField* field = findField(name))
        return *field;
    throw componentFailure(componentName_, QStringLiteral("項目 '%1' が見つかりません").arg(name));
}

void Query::addObserver(DataSetObserver* observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Query::removeObserver(DataSetObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

const Row* Query::currentRow() const
{
    if (state_ == DataSetState::Inactive || position_ >= visible_.size())
        return nullptr;
    return &table_.rows[visible_[position_]];
}

} // namespace uriage::data
