#include "peak_memory.h"

#include <QFile>

namespace uriage::bench {

std::uint64_t peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (!line.startsWith("VmHWM:"))
            continue;
        // "VmHWM:     123456 kB"
        const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
        bool ok = false;
        const std::uint64_t kilobytes = parts.value(0).toULongLong(&ok);
        return ok ? kilobytes * 1024 : 0;
    }
    return 0;
}

} // namespace uriage::bench
