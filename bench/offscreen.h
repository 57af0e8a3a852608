#pragma once
// The bench draws on the offscreen platform unless told otherwise, so that the
// figures do not depend on a display server.
#include <QByteArray>
#include <QtGlobal>

namespace uriage::bench {

inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
}

} // namespace uriage::bench
