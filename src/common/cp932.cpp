#include "common/cp932.h"

#include "platform/code_page.h"

namespace uriage::cp932 {
namespace {

// The system's code page leaves the control characters 0x00-0x1F and 0x7F as
// they are; the codec below rotates 0x1A, 0x1C and 0x7F, so they never reach it.
bool isControl(char16_t c) { return c < 0x20 || c == 0x7F; }

} // namespace

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isControl(text[i].unicode()))
            continue;
        if (i > runStart)
            bytes += platform::toCodePage932(QStringView(text).mid(runStart, i - runStart));
        if (i < text.size())
            bytes += static_cast<char>(text[i].unicode());
        runStart = i + 1;
    }
    return bytes;
}

QString decode(const QByteArray& bytes)
{
    QString text;
    qsizetype runStart = 0;
    qsizetype i = 0;
    auto flush = [&](qsizetype end) {
        if (end > runStart)
            text += platform::fromCodePage932(QByteArrayView(bytes).sliced(runStart, end - runStart));
    };
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isControl(b)) {
            flush(i);
            text += QChar(b);
            runStart = ++i;
        } else if (isLeadByte(b) && i + 1 == bytes.size()) {
            // A lead byte without its second byte: shown as the replacement character.
            flush(i);
            text += QChar(QChar::ReplacementCharacter);
            runStart = ++i;
        } else {
            i += charLength(bytes, static_cast<int>(i));
        }
    }
    flush(i);
    return text;
}

} // namespace uriage::cp932
