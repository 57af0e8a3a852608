#pragma once
// Conversion between the widgets' Unicode text and the Japanese code page (CP932)
// in which filter texts and messages are examined byte by byte.
#include <QByteArray>
#include <QString>

namespace uriage::cp932 {

QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// A lead byte of a double-byte character: 0x81-0x9F or 0xE0-0xFC.
inline bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// A half-width katakana (single byte) 0xA1-0xDF.
inline bool isHalfWidthKatakana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

// Length in bytes of the character that starts at bytes[pos]: 2 for a lead byte
// followed by a byte, 1 otherwise (a lead byte at the very end stands alone).
inline int charLength(const QByteArray& bytes, int pos)
{
    return (isLeadByte(static_cast<unsigned char>(bytes[pos])) && pos + 1 < bytes.size()) ? 2 : 1;
}

} // namespace uriage::cp932
