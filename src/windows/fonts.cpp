#include "windows/fonts.h"

#include "chart/draw/chart_fonts.h"

namespace uriage {

void installFontSubstitutes()
{
    QFont::insertSubstitution(kGothicFamily, QStringLiteral("IPAPGothic"));
    chart::installChartFontSubstitute();
}

QFont makeFont(const QString& family, int pixelHeight, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace uriage
