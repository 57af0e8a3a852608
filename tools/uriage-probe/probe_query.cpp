// uriage-probe query --data-dir DIR --kind daily|monthly [--component NAME]
//                    [--filter TEXT] [--filtered on|off] [--timing]
// --timing reports on stderr how long the table file's read lock was held.
// Opens the program's own query class on DIR and prints its rows as JSON.
#include "probe_command.h"

#include "app/error_text.h"
#include "common/failure.h"
#include "data/query.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>

namespace uriage::probe {
namespace {

int usage(const QString& problem)
{
    QTextStream(stderr) << "uriage-probe query: " << problem
                        << "\nusage: uriage-probe query --data-dir DIR --kind daily|monthly [--component NAME]"
                           " [--filter TEXT] [--filtered on|off] [--timing]\n";
    return 2;
}

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

int queryCommand(const QStringList& arguments)
{
    QString dataDir;
    QString kindName;
    QString component = QStringLiteral("Query1");
    QString filterText;
    QString filtered = QStringLiteral("on");
    bool timing = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (option == QLatin1String("--timing")) {
            timing = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return usage(QStringLiteral("%1 needs a value").arg(option));
        const QString& value = arguments[++i];
        if (option == QLatin1String("--data-dir"))
            dataDir = value;
        else if (option == QLatin1String("--kind"))
            kindName = value;
        else if (option == QLatin1String("--component"))
            component = value;
        else if (option == QLatin1String("--filter"))
            filterText = value;
        else if (option == QLatin1String("--filtered"))
            filtered = value;
        else
            return usage(QStringLiteral("unknown option %1").arg(option));
    }
    if (dataDir.isEmpty())
        return usage(QStringLiteral("--data-dir is required"));
    if (kindName != QLatin1String("daily") && kindName != QLatin1String("monthly"))
        return usage(QStringLiteral("--kind must be daily or monthly"));
    if (filtered != QLatin1String("on") && filtered != QLatin1String("off"))
        return usage(QStringLiteral("--filtered must be on or off"));
    // A relative native directory is taken from the current directory.
    if (!dataDir.contains(QChar(':')) && !dataDir.contains(QChar('\\')))
        dataDir = QFileInfo(dataDir).absoluteFilePath();

    data::Query query(component, kindName == QLatin1String("daily") ? data::QueryKind::Daily : data::QueryKind::Monthly);
    query.setDatabaseName(dataDir);
    query.setFilterText(filterText);
    query.setFiltered(filtered == QLatin1String("on"));
    try {
        query.open();
    } catch (const Failure& failure) {
        print(QJsonObject{{QStringLiteral("error"), withFullStop(failure.message())}});
        return 0;
    }
    if (timing)
        QTextStream(stderr) << "read lock: " << query.lastLockMilliseconds() << " ms\n";
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

const CommandRegistrar registrar("query", queryCommand);

} // namespace
} // namespace uriage::probe
