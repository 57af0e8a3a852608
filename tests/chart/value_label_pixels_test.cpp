// Value labels are written like the rest of the chart's text, without
// antialiasing: a label box holds only its fill, its frame and black text.
#include "chart/draw/value_label.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace testing;

TEST(ValueLabelPixels, ABoxHoldsOnlyFillFrameAndBlackText)
{
    const QString texts[] = {QStringLiteral("1,234,567"), QStringLiteral("12.5"), QStringLiteral("2005/03/01"),
                             QStringLiteral("保険料金")};
    const FontSpec fonts[] = {{12, false}, {12, true}, {16, false}};
    for (const FontSpec& labelFont : fonts) {
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(labelFont.pixelHeight) + (labelFont.bold ? " bold" : ""));
            ValueLabels settings;
            settings.font = labelFont;
            const QFont font = valueLabelFont(settings);
            const ValueLabelBox label = valueLabelBox(QPoint(120, 100), text, FontTextMeasurer(font), 8, {});
            const QImage image = paintCanvas([&](QPainter& p) { drawValueLabel(p, label, font, colors::white); });

            const QRect box = label.box;
            const int black = countPixels(image, colors::black, box);
            const int fill = countPixels(image, colors::paleYellow, box);
            EXPECT_EQ(black + fill, box.width() * box.height()) << "no blended text pixels";
            const int frame = 2 * box.width() + 2 * box.height() - 4;
            EXPECT_GT(black, frame) << "the text is written";
        }
    }
}

} // namespace
} // namespace uriage::chart
