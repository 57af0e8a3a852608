#include "data/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace uriage::cp932 {

// Qt's ICU-backed Shift_JIS codec acts as code page 932 (0x8160 <-> U+FF5E).
QByteArray encode(const QString& text)
{
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(bytes);
}

} // namespace uriage::cp932
