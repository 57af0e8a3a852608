#pragma once
// The program's fonts are requested by their Japanese names; where those are
// missing, metric-compatible stand-ins are substituted.
#include <QFont>
#include <QString>

namespace uriage {

inline const QString kGothicFamily = QStringLiteral("ＭＳ Ｐゴシック"); // the windows' font

// Call once after the application object exists: for the windows' font and
// for the charts' font.
void installFontSubstitutes();

// A font of the family at a pixel height, bold or regular.
QFont makeFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace uriage
