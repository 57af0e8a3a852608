#include "chart/draw/text_drawing.h"

#include "chart/axes/per_font_cache.h"

#include <QPainter>
#include <QStaticText>

namespace uriage::chart {

namespace {

PerFontCache<QStaticText>& laidOutTexts()
{
    static PerFontCache<QStaticText> cache;
    return cache;
}

QStaticText laidOut(const QString& text, const QFont& font)
{
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return laid;
}

} // namespace

void drawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    // A text laid out for whole device pixels is drawn anew on a scaled or
    // turned painter, where its glyphs are placed differently.
    const QFont& font = painter.font();
    auto* table = painter.deviceTransform().type() <= QTransform::TxTranslate ? laidOutTexts().tableFor(font) : nullptr;
    if (!table) {
        painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
        return;
    }
    auto found = table->constFind(text);
    const QStaticText& laid =
        found != table->cend() ? *found : PerFontCache<QStaticText>::remember(*table, text, laidOut(text, font));
    painter.drawStaticText(QPoint(x, y), laid);
}

} // namespace uriage::chart
