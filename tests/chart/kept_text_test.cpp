// Texts kept between frames: a kept width or laid-out text gives exactly what
// measuring or writing the text anew gives, first time and again.
#include "chart/axes/per_font_cache.h"
#include "chart/axes/text_measurer.h"
#include "chart/draw/chart_fonts.h"
#include "chart/draw/text_drawing.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

const QString kTexts[] = {QStringLiteral("12,345"), QStringLiteral("0"),          QStringLiteral("1,234,567.5"),
                          QStringLiteral("2005/03/15"), QStringLiteral("保険料金"), QStringLiteral("患者数 (人)"),
                          QStringLiteral("W"),          QStringLiteral("")};

const FontSpec kFonts[] = {{10, false}, {12, false}, {12, true}, {16, true}};

TEST(KeptTexts, WrittenLikeANewlyWrittenTextAtEveryRatio)
{
    for (const qreal ratio : {1.0, 1.25, 2.0})
        for (const FontSpec& setting : kFonts)
            for (const QString& text : kTexts)
                for (int pass = 0; pass < 2; ++pass) {
                    auto write = [&](bool kept) {
                        QImage image(QSize(160, 40) * ratio, QImage::Format_RGB32);
                        image.setDevicePixelRatio(ratio);
                        image.fill(Qt::white);
                        QPainter painter(&image);
                        painter.setFont(chartFont(setting));
                        painter.setPen(Qt::black);
                        if (kept)
                            drawTextAt(painter, 7, 5, text);
                        else
                            painter.drawText(QPoint(7, 5 + painter.fontMetrics().ascent()), text);
                        return image;
                    };
                    EXPECT_EQ(write(true), write(false))
                        << qPrintable(text) << " at " << setting.pixelHeight << (setting.bold ? " bold" : "") << ", ratio "
                        << ratio << ", pass " << pass;
                }
}

TEST(KeptTexts, WidthsStayTheFontsOwnPastTheTablesBound)
{
    const QFont font = chartFont(FontSpec{12, false});
    const QFontMetrics metrics(font);
    const FontTextMeasurer measure(font);
    int wrong = 0;
    for (int i = 0; i < int(PerFontCache<int>::kMostTextsPerFont) + 100; ++i) {
        const QString text = QString::number(i * 7919) + QStringLiteral("円");
        const int width = metrics.horizontalAdvance(text);
        wrong += measure.width(text) != width; // measured
        wrong += measure.width(text) != width; // kept
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace uriage::chart
