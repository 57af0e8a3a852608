#include "app/error_text.h"

#include "common/cp932.h"

namespace uriage {

QString withFullStop(const QString& message)
{
    const QByteArray bytes = cp932::encode(message);
    if (bytes.isEmpty())
        return message;
    // Walk from the start: a trail byte may look like a lead byte.
    int last = 0;
    for (int pos = 0; pos < bytes.size(); pos += cp932::charLength(bytes, pos))
        last = pos;
    if (static_cast<unsigned char>(bytes[last]) > '.')
        return message + QLatin1Char('.');
    return message;
}

} // namespace uriage
