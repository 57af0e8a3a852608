#pragma once
// The program's fonts are requested by their Japanese names; where those are
// missing, metric-compatible stand-ins are substituted.
#include <QFont>
#include <QString>

namespace uriage {

inline const QString kGothicFamily = QStringLiteral("ＭＳ Ｐゴシック"); // windows
inline const QString kMinchoFamily = QStringLiteral("ＭＳ Ｐ明朝");     // charts

// Call once after the application object exists.
void installFontSubstitutes();

// A font of the family at a pixel height, bold or regular.
QFont makeFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace uriage
