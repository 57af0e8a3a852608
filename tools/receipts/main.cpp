// receipts demo --dir DIR [--from 2003 --to 2006] [--seed N] [--count N] [--replace]
// receipts import --dir DIR [--replace] FILE.csv
// Writes the receipt table 領収証記録.db in DIR.
#include "csv_import.h"
#include "demo_practice.h"
#include "receipt_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

int usage(const QString& problem = {})
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << "receipts: " << problem << '\n';
    err << "usage: receipts demo --dir DIR [--from YEAR] [--to YEAR] [--seed N] [--count N] [--replace]\n"
           "       receipts import --dir DIR [--replace] FILE.csv\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command != QLatin1String("demo") && command != QLatin1String("import"))
        return usage(QStringLiteral("unknown command %1").arg(command));

    QString dir;
    QString csvFile;
    bool replace = false;
    receipts::DemoOptions demo;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](long long* number) -> bool {
            if (i + 1 >= args.size())
                return false;
            bool ok = false;
            *number = args[++i].toLongLong(&ok);
            return ok;
        };
        long long n = 0;
        if (a == QLatin1String("--replace")) {
            replace = true;
        } else if (a == QLatin1String("--dir")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--dir needs a directory"));
            dir = args[++i];
        } else if (command == QLatin1String("demo") && a == QLatin1String("--from")) {
            if (!value(&n) || n < 1 || n > 9999)
                return usage(QStringLiteral("--from needs a year"));
            demo.fromYear = int(n);
        } else if (command == QLatin1String("demo") && a == QLatin1String("--to")) {
            if (!value(&n) || n < 1 || n > 9999)
                return usage(QStringLiteral("--to needs a year"));
            demo.toYear = int(n);
        } else if (command == QLatin1String("demo") && a == QLatin1String("--seed")) {
            if (!value(&n))
                return usage(QStringLiteral("--seed needs a number"));
            demo.seed = static_cast<unsigned long long>(n);
        } else if (command == QLatin1String("demo") && a == QLatin1String("--count")) {
            if (!value(&n) || n < 1)
                return usage(QStringLiteral("--count needs a positive number"));
            demo.count = n;
        } else if (command == QLatin1String("import") && !a.startsWith(QLatin1String("--")) && csvFile.isEmpty()) {
            csvFile = a;
        } else {
            return usage(QStringLiteral("unexpected argument %1").arg(a));
        }
    }
    if (dir.isEmpty())
        return usage(QStringLiteral("--dir is required"));
    if (command == QLatin1String("demo") && demo.fromYear > demo.toYear && demo.count == 0)
        return usage(QStringLiteral("--from is after --to"));
    if (command == QLatin1String("import") && csvFile.isEmpty())
        return usage(QStringLiteral("import needs a CSV file"));

    QTextStream err(stderr);
    QTextStream out(stdout);
    try {
        if (command == QLatin1String("import")) {
            QFile file(csvFile);
            if (!file.open(QIODevice::ReadOnly)) {
                err << "receipts: cannot read " << csvFile << '\n';
                return 1;
            }
            const receipts::CsvResult csv = receipts::parseReceiptsCsv(file.readAll());
            if (!csv.errors.isEmpty()) {
                for (const QString& e : csv.errors)
                    err << csvFile << ':' << e << '\n';
                err << "receipts: nothing written\n";
                return 1;
            }
            receipts::ReceiptWriter writer(dir, replace);
            for (const receipts::Receipt& r : csv.receipts)
                writer.add(r);
            const QString path = writer.finish();
            out << writer.count() << " receipts written to " << path << '\n';
        } else {
            receipts::ReceiptWriter writer(dir, replace);
            receipts::generateDemo(demo, [&](const receipts::Receipt& r) { writer.add(r); });
            const QString path = writer.finish();
            out << writer.count() << " receipts written to " << path << '\n';
        }
    } catch (const receipts::WriteError& e) {
        err << "receipts: " << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
    return 0;
}
