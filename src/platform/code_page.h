#pragma once
// The system's code page 932 (Japanese, Shift_JIS with Microsoft's
// extensions): text to bytes and back, for runs without control characters.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace uriage::platform {

QByteArray toCodePage932(QStringView text);
QString fromCodePage932(QByteArrayView bytes);

} // namespace uriage::platform
