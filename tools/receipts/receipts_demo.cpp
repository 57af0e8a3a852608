// receipts demo --dir DIR [--from 2003 --to 2006] [--seed N] [--count N] [--replace]
// Writes the receipts of a made-up practice.
#include "demo_practice.h"
#include "tool_command.h"
#include "write_table.h"

#include <limits>
#include <optional>

namespace receipts {
namespace {

// Reads a whole-number option within [low, high] into `target` (left as it
// is when the option is absent); false, with the usage error reported, when
// the value is not such a number.
template <typename Number>
bool readNumber(const uriage::tools::CommandLine& line, const char* option, long long low, long long high,
                const char* problem, Number* target)
{
    if (!line.isSet(QLatin1String(option)))
        return true;
    bool ok = false;
    const long long number = line.value(QLatin1String(option)).toLongLong(&ok);
    if (!ok || number < low || number > high) {
        line.usageError(QLatin1String(problem));
        return false;
    }
    *target = static_cast<Number>(number);
    return true;
}

// The demo's options; none (the usage error reported) where one is unusable.
std::optional<DemoOptions> readDemoOptions(const uriage::tools::CommandLine& line)
{
    constexpr long long kMax = std::numeric_limits<long long>::max();
    DemoOptions demo;
    if (!readNumber(line, "from", 1, 9999, "--from needs a year", &demo.fromYear)
        || !readNumber(line, "to", 1, 9999, "--to needs a year", &demo.toYear)
        || !readNumber(line, "seed", std::numeric_limits<long long>::min(), kMax, "--seed needs a number", &demo.seed)
        || !readNumber(line, "count", 1, kMax, "--count needs a positive number", &demo.count))
        return std::nullopt;
    return demo;
}

int demoCommand(const uriage::tools::CommandLine& line)
{
    const QString dir = line.value(QStringLiteral("dir"));
    const std::optional<DemoOptions> demo = readDemoOptions(line);
    if (!demo)
        return uriage::tools::kUsageExitCode;
    if (dir.isEmpty())
        return line.usageError(QStringLiteral("--dir is required"));
    if (demo->fromYear > demo->toYear && demo->count == 0)
        return line.usageError(QStringLiteral("--from is after --to"));
    return writeReceiptTable(dir, line.isSet(QStringLiteral("replace")), [&](ReceiptWriter& writer) {
        generateDemo(*demo, [&](const Receipt& r) { writer.add(r); });
    });
}

const uriage::tools::CommandRegistrar registrar({
    QStringLiteral("demo"),
    QStringLiteral("Writes a demo receipt table of a made-up practice."),
    {
        {QStringLiteral("dir"), QStringLiteral("The directory to write 領収証記録.db into."), QStringLiteral("DIR")},
        {QStringLiteral("from"), QStringLiteral("The first year (default 2003)."), QStringLiteral("YEAR")},
        {QStringLiteral("to"), QStringLiteral("The last year (default 2006)."), QStringLiteral("YEAR")},
        {QStringLiteral("seed"), QStringLiteral("The random seed."), QStringLiteral("N")},
        {QStringLiteral("count"), QStringLiteral("Write exactly N receipts."), QStringLiteral("N")},
        {QStringLiteral("replace"), QStringLiteral("Overwrite an existing table.")},
    },
    {},
    demoCommand,
});

} // namespace
} // namespace receipts
