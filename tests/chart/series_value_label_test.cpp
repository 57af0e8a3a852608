// Value labels: the number format, the text per label style, and the box and
// connector painted above the point.
#include "chart/draw/marker_painter.h"
#include "chart/draw/value_label.h"
#include "chart/model/series.h"
#include "series_test_canvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace testing;

RegionalSettings separators(QChar thousands, QChar decimal)
{
    RegionalSettings r = RegionalSettings::japanese();
    r.thousandsSeparator = thousands;
    r.decimalSeparator = decimal;
    return r;
}

TEST(SeriesValueFormat, GroupsThousandsAndKeepsAtMostThreeDecimals)
{
    struct Case {
        double value;
        const char* comma;  // ',' thousands, '.' decimals
        const char* period; // '.' thousands, ',' decimals
    };
    const Case cases[] = {
        {1234567, "1,234,567", "1.234.567"},
        {0, "0", "0"},
        {12345, "12,345", "12.345"},
        {12.5, "12.5", "12,5"},
        {100, "100", "100"},
        {1000, "1,000", "1.000"},
        {1234.5678, "1,234.568", "1.234,568"},
        {-1234, "-1,234", "-1.234"},
        {0.0004, "0", "0"},
        {-0.0004, "0", "0"},
        {999.9996, "1,000", "1.000"},
        {0.25, "0.25", "0,25"},
        {123456789012.0, "123,456,789,012", "123.456.789.012"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatValue(c.value, separators(',', '.')), QString::fromUtf8(c.comma)) << c.value;
        EXPECT_EQ(formatValue(c.value, separators('.', ',')), QString::fromUtf8(c.period)) << c.value;
    }
}

TEST(SeriesValueLabelText, ValueStyleShowsTheValueLabelStyleTheLabel)
{
    const RegionalSettings r = separators(',', '.');
    SeriesConfig config;
    config.valueLabels.style = ValueLabelStyle::Value;
    Series valueStyle(config);
    config.valueLabels.style = ValueLabelStyle::LabelText;
    Series labelStyle(config);
    for (Series* s : {&valueStyle, &labelStyle}) {
        s->add(1, 2500, QStringLiteral("2005/03/01"), false);
        s->add(2, 7, QString(), false);
        s->add(3, 0, QStringLiteral("3"), true);
    }
    EXPECT_EQ(valueLabelText(valueStyle, 0, r), QStringLiteral("2,500"));
    EXPECT_EQ(valueLabelText(valueStyle, 2, r), QStringLiteral("0")); // a null point shows 0
    EXPECT_EQ(valueLabelText(labelStyle, 0, r), QStringLiteral("2005/03/01"));
    EXPECT_EQ(valueLabelText(labelStyle, 1, r), QStringLiteral("7")); // no label: the value
}

TEST(SeriesValueLabelBox, MovesRightAndUpByTheFrontDepthOfTheSlot)
{
    const FontTextMeasurer font(valueLabelFont(ValueLabels{}));
    const ValueLabelBox flat = valueLabelBox(QPoint(100, 100), QStringLiteral("1,234"), font, 8, {0, 10});
    const ValueLabelBox deep = valueLabelBox(QPoint(100, 100), QStringLiteral("1,234"), font, 8, {10, 20});
    EXPECT_EQ(deep.box, flat.box.translated(10, -10));
    EXPECT_EQ(deep.anchor, QPoint(110, 90));
}

TEST(SeriesValueLabelConnector, WhiteUnlessThatIsThePointOrBackgroundColour)
{
    struct Case {
        QColor point;
        QColor background;
        QColor expected;
    };
    const Case cases[] = {
        {colors::red, kCanvasBackground, colors::white},
        {colors::white, kCanvasBackground, colors::black},
        {colors::red, colors::white, colors::black},
        {colors::white, colors::black, colors::white},
    };
    for (const Case& c : cases)
        EXPECT_EQ(connectorColor(c.point, c.background).rgb(), c.expected.rgb());
}

// A 7 x 7 green marker at (100, 100) with a label over it.
QImage markerWithLabel(int connector, ValueLabelBox* placed = nullptr)
{
    const QFont font = valueLabelFont(ValueLabels{});
    const ValueLabelBox label =
        valueLabelBox(QPoint(100, 100), QStringLiteral("12"), FontTextMeasurer(font), connector, {});
    if (placed)
        *placed = label;
    return paintCanvas([&](QPainter& p) {
        drawFlatMarker(p, QPoint(100, 100), MarkerShape::Rectangle, 3, 3, colors::green);
        drawValueLabel(p, label, font, colors::white);
    });
}

TEST(SeriesValueLabelPainting, ConnectorZeroCoversTheUpperHalfOfTheMarker)
{
    ValueLabelBox label;
    const QImage image = markerWithLabel(0, &label);
    ASSERT_LE(label.box.left(), 97);
    EXPECT_TRUE(pixelIs(image, 97, 100, colors::black));      // the box frame on the point's row
    EXPECT_TRUE(pixelIs(image, 98, 99, colors::paleYellow));  // upper half covered
    EXPECT_TRUE(pixelIs(image, 98, 101, colors::green));      // lower half still shows
    EXPECT_TRUE(pixelIs(image, 97, 103, colors::black));      // the marker's bottom border
    EXPECT_EQ(countPixels(image, colors::white, image.rect()), 0); // no connector
}

TEST(SeriesValueLabelPainting, ConnectorEightFloatsTheBoxAboveAWhiteLine)
{
    ValueLabelBox label;
    const QImage image = markerWithLabel(8, &label);
    EXPECT_EQ(label.box.bottom(), 92);
    EXPECT_TRUE(pixelIs(image, 100, 92, colors::black)); // box frame, bottom row
    for (int y = 93; y <= 100; ++y)
        EXPECT_TRUE(pixelIs(image, 100, y, colors::white)) << y;
    EXPECT_TRUE(pixelIs(image, 99, 95, kCanvasBackground)); // one pixel wide
    EXPECT_TRUE(pixelIs(image, 101, 95, kCanvasBackground));
    EXPECT_TRUE(pixelIs(image, 98, 98, colors::green));     // the marker is not covered
}

TEST(SeriesValueLabelPainting, FramedPaleYellowBoxWithCentredText)
{
    ValueLabelBox label;
    const QImage image = markerWithLabel(8, &label);
    const QRect box = label.box;
    EXPECT_EQ(countPixels(image, colors::black, QRect(box.left(), box.top(), box.width(), 1)), box.width());
    EXPECT_EQ(countPixels(image, colors::black, QRect(box.left(), box.top(), 1, box.height())), box.height());
    EXPECT_TRUE(pixelIs(image, box.left() + 1, box.top() + 1, colors::paleYellow));
    EXPECT_TRUE(pixelIs(image, box.right() - 1, box.bottom() - 1, colors::paleYellow));
    // The text's ink lies inside the frame, centred to within a pixel or two.
    QRect ink;
    const QRect inside = box.adjusted(1, 1, -1, -1);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink = ink.united(QRect(x, y, 1, 1));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), box.left() + box.width() / 2, 2);
}

} // namespace
} // namespace uriage::chart
