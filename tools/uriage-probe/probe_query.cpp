// uriage-probe query --data-dir DIR --kind daily|monthly [--component NAME]
//                    [--filter TEXT] [--filtered on|off] [--timing] [--presses N]
// --timing reports on stderr how long each open and its read lock took.
// Opens the program's own query class on DIR and prints its rows as JSON.
#include "tool_command.h"

#include "app/error_text.h"
#include "common/failure.h"
#include "data/engine.h"
#include "data/query.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>

namespace uriage::probe {
namespace {

void print(const QJsonObject& object)
{
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fputc('\n', stdout);
}

QJsonValue jsonValue(const data::QueryField& field)
{
    const data::Value& value = field.value();
    if (data::isNull(value))
        return QJsonValue::Null;
    if (const auto* i = std::get_if<int64_t>(&value))
        return QJsonValue(qint64(*i));
    if (const auto* d = std::get_if<double>(&value))
        return QJsonValue(*d);
    return QJsonValue(field.displayText());
}

int queryCommand(const tools::CommandLine& line)
{
    QString dataDir = line.value(QStringLiteral("data-dir"));
    const QString kindName = line.value(QStringLiteral("kind"));
    const QString component = line.value(QStringLiteral("component"));
    const QString filterText = line.value(QStringLiteral("filter"));
    const QString filtered = line.value(QStringLiteral("filtered"));
    const bool timing = line.isSet(QStringLiteral("timing"));
    if (dataDir.isEmpty())
        return line.usageError(QStringLiteral("--data-dir is required"));
    if (kindName != QLatin1String("daily") && kindName != QLatin1String("monthly"))
        return line.usageError(QStringLiteral("--kind must be daily or monthly"));
    if (filtered != QLatin1String("on") && filtered != QLatin1String("off"))
        return line.usageError(QStringLiteral("--filtered must be on or off"));
    // A relative native directory is taken from the current directory.
    if (!dataDir.contains(QChar(':')) && !dataDir.contains(QChar('\\')))
        dataDir = QFileInfo(dataDir).absoluteFilePath();

    data::Engine engine;
    data::Query query(engine, component, kindName == QLatin1String("daily") ? data::QueryKind::Daily : data::QueryKind::Monthly);
    query.setDatabaseName(dataDir);
    query.setFilterText(filterText);
    query.setFiltered(filtered == QLatin1String("on"));
    bool countOk = false;
    const int presses = line.value(QStringLiteral("presses")).toInt(&countOk);
    if (!countOk || presses < 1)
        return line.usageError(QStringLiteral("--presses must be a whole number from 1"));
    // Each press closes and opens the query, as the filter button does; the
    // rows printed are the last press's.
    for (int press = 0; press < presses; ++press) {
        query.close();
        QElapsedTimer clock;
        clock.start();
        try {
            query.open();
        } catch (const Failure& failure) {
            print(QJsonObject{{QStringLiteral("error"), withFullStop(failure.message())}});
            return 0;
        }
        if (timing)
            QTextStream(stderr) << "open: " << double(clock.nsecsElapsed()) / 1e6 << " ms, read lock: "
                                << query.lastLockMilliseconds() << " ms, copy tries: " << query.lastCopyTries() << "\n";
    }
    QJsonArray columns;
    for (const data::ColumnInfo& column : query.columns())
        columns.append(column.name);
    QJsonArray rows;
    for (query.first(); !query.eof(); query.next()) {
        QJsonArray row;
        for (std::size_t c = 0; c < query.fieldCount(); ++c)
            row.append(jsonValue(query.field(c)));
        rows.append(row);
    }
    print(QJsonObject{{QStringLiteral("columns"), columns}, {QStringLiteral("rows"), rows},
                      {QStringLiteral("error"), QJsonValue::Null}});
    return 0;
}

const tools::CommandRegistrar registrar({
    QStringLiteral("query"),
    QStringLiteral("Prints the rows of the per-day or per-month summary as JSON."),
    {
        {QStringLiteral("data-dir"), QStringLiteral("The directory of the receipt table."), QStringLiteral("DIR")},
        {QStringLiteral("kind"), QStringLiteral("The summary: daily or monthly."), QStringLiteral("daily|monthly")},
        {QStringLiteral("component"), QStringLiteral("The query's component name (default Query1)."),
         QStringLiteral("NAME"), QStringLiteral("Query1")},
        {QStringLiteral("filter"), QStringLiteral("The filter text."), QStringLiteral("TEXT")},
        {QStringLiteral("filtered"), QStringLiteral("Whether the filter applies (default on)."),
         QStringLiteral("on|off"), QStringLiteral("on")},
        {QStringLiteral("timing"),
         QStringLiteral("Report on stderr, for each press, how long the open and the read lock took and how many "
                        "lock-free copies were tried.")},
        {QStringLiteral("presses"), QStringLiteral("Open the query this many times, closing it in between."),
         QStringLiteral("N"), QStringLiteral("1")},
    },
    {},
    queryCommand,
});

} // namespace
} // namespace uriage::probe
