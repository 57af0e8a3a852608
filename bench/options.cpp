#include "options.h"

#include <cstdio>

namespace uriage::bench {

Options::Options(const QStringList& names)
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QString& name : names)
        parser_.addOption(QCommandLineOption(name, name, QStringLiteral("value")));
}

bool Options::parse(const QStringList& arguments)
{
    if (!parser_.parse(QStringList{QStringLiteral("uriage-bench")} + arguments)) {
        std::fprintf(stderr, "uriage-bench: %s\n", qPrintable(parser_.errorText()));
        return false;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "uriage-bench: unexpected %s\n", qPrintable(parser_.positionalArguments().join(' ')));
        return false;
    }
    return true;
}

QString Options::text(const QString& name, const QString& fallback) const
{
    return parser_.isSet(name) ? parser_.value(name) : fallback;
}

int Options::number(const QString& name, int fallback) const
{
    bool ok = false;
    const int value = parser_.value(name).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace uriage::bench
