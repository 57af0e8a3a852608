// receipts import --dir DIR [--replace] FILE.csv
// Writes the receipts of a CSV file; nothing while any line is bad.
#include "csv_import.h"
#include "tool_command.h"
#include "write_table.h"

#include <QFile>
#include <QTextStream>

namespace receipts {
namespace {

int importCommand(const uriage::tools::CommandLine& line)
{
    const QString dir = line.value(QStringLiteral("dir"));
    const QStringList files = line.positionalArguments();
    if (dir.isEmpty())
        return line.usageError(QStringLiteral("--dir is required"));
    if (files.isEmpty())
        return line.usageError(QStringLiteral("import needs a CSV file"));
    const QString& csvFile = files.first();
    QTextStream err(stderr);
    QFile file(csvFile);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "receipts: cannot read " << csvFile << '\n';
        return 1;
    }
    const CsvResult csv = parseReceiptsCsv(file.readAll());
    if (!csv.errors.isEmpty()) {
        for (const QString& e : csv.errors)
            err << csvFile << ':' << e << '\n';
        err << "receipts: nothing written\n";
        return 1;
    }
    return writeReceiptTable(dir, line.isSet(QStringLiteral("replace")), [&](ReceiptWriter& writer) {
        for (const Receipt& r : csv.receipts)
            writer.add(r);
    });
}

const uriage::tools::CommandRegistrar registrar({
    QStringLiteral("import"),
    QStringLiteral("Writes a receipt table from a CSV file (UTF-8 or Shift_JIS, a header line naming the columns)."),
    {
        {QStringLiteral("dir"), QStringLiteral("The directory to write 領収証記録.db into."), QStringLiteral("DIR")},
        {QStringLiteral("replace"), QStringLiteral("Overwrite an existing table.")},
    },
    {{QStringLiteral("FILE.csv"), QStringLiteral("The receipts, one a line after the header.")}},
    importCommand,
});

} // namespace
} // namespace receipts
