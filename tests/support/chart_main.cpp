// Test entry for the chart's painting tests: a full application with the
// chart font's stand-in, and nothing of the windows or the database.
#include <QApplication>
#include <gtest/gtest.h>

#include "chart/draw/chart_fonts.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    uriage::chart::installChartFontSubstitute();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
