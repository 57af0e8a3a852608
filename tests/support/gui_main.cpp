// Test entry for widget and painting tests: a full application with the
// program's font substitutes, so text is measured with the fonts actually used.
#include <QApplication>
#include <gtest/gtest.h>

#include "windows/fonts.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    uriage::installFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
