// Code page 932 as Windows itself converts it.
#include "platform/code_page.h"

#include <windows.h>

namespace uriage::platform {

namespace {
constexpr UINT kJapanese = 932;
}

QByteArray toCodePage932(QStringView text)
{
    if (text.isEmpty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    const int size = WideCharToMultiByte(kJapanese, 0, wide, length, nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size > 0 ? size : 0, Qt::Uninitialized);
    if (size > 0)
        WideCharToMultiByte(kJapanese, 0, wide, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

QString fromCodePage932(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const int length = int(bytes.size());
    const int size = MultiByteToWideChar(kJapanese, 0, bytes.data(), length, nullptr, 0);
    QString text(size > 0 ? size : 0, Qt::Uninitialized);
    if (size > 0)
        MultiByteToWideChar(kJapanese, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

} // namespace uriage::platform
