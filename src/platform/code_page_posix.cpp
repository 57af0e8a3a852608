// Code page 932 through Qt's ICU-backed Shift_JIS codec, which acts as code
// page 932 (0x8160 <-> U+FF5E).
#include "platform/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace uriage::platform {

QByteArray toCodePage932(QStringView text)
{
    QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString fromCodePage932(QByteArrayView bytes)
{
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace uriage::platform
