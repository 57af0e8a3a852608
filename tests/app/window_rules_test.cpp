// Show, hide and close rules of the windows, with the real window set.
#include "app/window_set.h"
#include "data/engine.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/Unit6.h"
#include "windows/Unit7.h"
#include "windows/declared_size.h"
#include "windows/window_rules.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowRules : public ::testing::Test {
protected:
    void SetUp() override { uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal); }

    QPoint centredOnPrimary(const QWidget* window) const
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QSize outer = window->frameGeometry().size();
        return {std::max(0, (screen.width() - outer.width()) / 2), std::max(0, (screen.height() - outer.height()) / 2)};
    }

    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
};

TEST_F(WindowRules, FirstShowingCentresAndLaterShowingsKeepTheMovedPlace)
{
    for (QWidget* chart : {static_cast<QWidget*>(Form2), static_cast<QWidget*>(Form4), static_cast<QWidget*>(Form7)}) {
        SCOPED_TRACE(chart->objectName().toStdString());
        EXPECT_FALSE(uriage::hasBeenPlaced(chart));
        uriage::makeVisible(chart);
        EXPECT_TRUE(chart->isVisible());
        EXPECT_EQ(chart->pos(), centredOnPrimary(chart));

        chart->move(13, 21);
        uriage::hideWindow(chart);
        EXPECT_FALSE(chart->isVisible());
        uriage::makeVisible(chart);
        EXPECT_EQ(chart->pos(), QPoint(13, 21));
        uriage::hideWindow(chart);
    }
    EXPECT_EQ(Form1->pos(), centredOnPrimary(Form1));
}

TEST_F(WindowRules, ChartWindowsHaveTheirDeclaredClientSizes)
{
    EXPECT_EQ(Form1->size(), uriage::clientSizeFromOuter(477, 194));
    EXPECT_EQ(Form2->size(), uriage::clientSizeFromOuter(737, 480));
    EXPECT_EQ(Form3->size(), uriage::clientSizeFromOuter(629, 502));
    EXPECT_EQ(Form6->size(), uriage::clientSizeFromOuter(692, 491));
}

TEST_F(WindowRules, ShowingAVisibleWindowNeitherMovesNorActivatesIt)
{
    uriage::makeVisible(Form2);
    Form2->move(40, 50);
    Form1->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);

    uriage::makeVisible(Form2);
    QTest::qWait(20);
    EXPECT_EQ(Form2->pos(), QPoint(40, 50));
    EXPECT_EQ(QApplication::activeWindow(), Form1);
}

TEST_F(WindowRules, ClosingAChartWindowHidesItAndTheProgramGoesOn)
{
    bool mainClosed = false;
    QObject::connect(Form1, &TForm1::closed, [&mainClosed] { mainClosed = true; });
    uriage::makeVisible(Form5);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form5), 2000);

    Form5->close();
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(mainClosed);
    // The window still exists and is shown again where it was.
    const QPoint where = Form5->pos();
    uriage::makeVisible(Form5);
    EXPECT_EQ(Form5->pos(), where);
}

TEST_F(WindowRules, HidingTheActiveWindowActivatesTheMainMenu)
{
    uriage::makeVisible(Form6);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form6), 2000);
    uriage::hideWindow(Form6);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    // Hiding a hidden window does nothing.
    uriage::hideWindow(Form6);
    EXPECT_FALSE(Form6->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), Form1);
}

TEST_F(WindowRules, FocusStartsOnTheFirstControlAndComesBackToTheLastOne)
{
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    EXPECT_EQ(QApplication::focusWidget(), Form1->Button1);

    Form1->Button4->setFocus();
    uriage::makeVisible(Form2);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form2), 2000);
    uriage::hideWindow(Form2);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    EXPECT_EQ(QApplication::focusWidget(), Form1->Button4);
}

} // namespace
