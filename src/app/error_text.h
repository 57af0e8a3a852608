#pragma once
// The text the error message box shows for a failure's message.
#include <QString>

namespace uriage {

// A full stop is appended when the message is not empty and its last
// character, taken whole in the Japanese code page (CP932), has a first byte
// above "." (0x2E): so ".", " ", a line break, "!", "," and ")" end a message
// as they are, while "?", digits, letters and every double-byte or half-width
// katakana character get the ".".
QString withFullStop(const QString& message);

} // namespace uriage
