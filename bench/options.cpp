#include "options.h"

#include <cstdio>

namespace uriage::bench {

bool Options::parse(const QStringList& arguments)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (!name.startsWith(QLatin1String("--")) || i + 1 >= arguments.size()) {
            std::fprintf(stderr, "uriage-bench: %s needs a value\n", qPrintable(name));
            return false;
        }
        values_[name.mid(2)] = arguments[++i];
    }
    return true;
}

int Options::number(const QString& name, int fallback) const
{
    bool ok = false;
    const int value = values_.value(name).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace uriage::bench
