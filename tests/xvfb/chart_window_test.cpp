// A chart window of the real program on the test X server: opened from the
// main menu, filtered, and an unusable filter answered by the error box.
#include "x_display.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kMainClass = QStringLiteral("TForm1");
const QString kBoxTitle = QStringLiteral("売上"); // the error box's caption, also the main menu's
const QString kForm2Caption = QStringLiteral("月別売上（平面図）");

// Places in client coordinates: the main menu's Button1 opens TForm2; in
// TForm2's panel Edit1 (year), Edit2 (month) and Button1 "フィルター".
constexpr int kMenuButton1X = 220, kMenuButton1Y = 52;
constexpr int kEdit1X = 64, kEdit2X = 220, kEditY = 18;
constexpr int kFilterX = 373, kFilterY = 20;
// A strip of the chart below the panel, where the series are drawn.
const QRect kChartStrip(60, 120, 600, 240);

class ChartWindowOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = xtest::testDisplay();
        if (display.isEmpty())
            GTEST_SKIP() << "no test display (URIAGE_TEST_DISPLAY is set by the x_server test fixture)";
        ASSERT_TRUE(runtimeDir.isValid());
        ASSERT_TRUE(winePrefix.isValid());
        ASSERT_TRUE(xtest::connect(display)) << "cannot connect to " << display.toStdString();
        ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 0, 5000)) << "a main menu is already on the display";

        // The demo table for one year in "C:\Zelmora" of a Wine prefix of our own.
        const QString dataDir = winePrefix.filePath(QStringLiteral("drive_c/Zelmora"));
        ASSERT_TRUE(QDir().mkpath(dataDir));
        const QString receiptsTool = qEnvironmentVariable("URIAGE_RECEIPTS");
        ASSERT_FALSE(receiptsTool.isEmpty()) << "URIAGE_RECEIPTS (set by the test's CMake file) names the receipts tool";
        QProcess receipts;
        receipts.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        receipts.start(receiptsTool,
                       {QStringLiteral("demo"), QStringLiteral("--dir"), dataDir, QStringLiteral("--from"),
                        QStringLiteral("2005"), QStringLiteral("--to"), QStringLiteral("2005")});
        ASSERT_TRUE(receipts.waitForFinished(60000));
        ASSERT_EQ(receipts.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(receipts.exitCode(), 0);
    }

    // Replaces the text of the edit box at (x, y) of the window.
    void typeInto(xtest::WindowId window, int x, const QString& text)
    {
        ASSERT_TRUE(xtest::clickAt(display, window, x, kEditY));
        ASSERT_TRUE(xtest::xdotool(display, {QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("BackSpace")}));
        ASSERT_TRUE(xtest::xdotool(display, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text}));
    }

    // The windows titled "売上" other than the main menu.
    std::vector<xtest::WindowId> boxes(xtest::WindowId mainMenu)
    {
        std::vector<xtest::WindowId> found;
        for (xtest::WindowId w : xtest::viewableWindowsTitled(display, kBoxTitle))
            if (w != mainMenu)
                found.push_back(w);
        return found;
    }

    // Waits until the chart strip differs from `before`; the new pixels, or
    // empty on time-out.
    QByteArray waitForChange(xtest::WindowId window, const QByteArray& before, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const QByteArray now = xtest::windowPixels(display, window, kChartStrip);
            if (!now.isEmpty() && now != before)
                return now;
            QThread::msleep(50);
        }
        return {};
    }

    // Waits until the chart strip stops changing (painting is over); its
    // pixels, or empty on time-out.
    QByteArray waitForStill(xtest::WindowId window, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray last = xtest::windowPixels(display, window, kChartStrip);
        while (clock.elapsed() < timeoutMs) {
            QThread::msleep(200);
            const QByteArray now = xtest::windowPixels(display, window, kChartStrip);
            if (!now.isEmpty() && now == last)
                return now;
            last = now;
        }
        return {};
    }

    QString display;
    QTemporaryDir runtimeDir;
    QTemporaryDir winePrefix;
};

TEST_F(ChartWindowOnScreen, FilterDrawsTheMonthAndAFailingFilterShowsTheErrorBox)
{
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("WINEPREFIX"), winePrefix.path());
    xtest::Program program(display, runtimeDir.path(), extra);
    ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 1, 15000));
    const xtest::WindowId mainMenu = xtest::windowsOfClass(display, kMainClass).front();
    QElapsedTimer clock;
    clock.start();
    while (!xtest::isViewable(display, mainMenu) && clock.elapsed() < 15000)
        QThread::msleep(20);
    ASSERT_TRUE(xtest::isViewable(display, mainMenu));
    QThread::msleep(300); // let it paint before the click
    EXPECT_TRUE(xtest::viewableWindowsTitled(display, kForm2Caption).empty());

    // Main menu → TForm2.
    ASSERT_TRUE(xtest::clickAt(display, mainMenu, kMenuButton1X, kMenuButton1Y));
    const xtest::WindowId chart = xtest::waitForViewableWindow(display, kForm2Caption, 10000);
    ASSERT_NE(chart, 0u) << "the chart window did not appear";
    const QByteArray empty = waitForStill(chart, 10000);
    ASSERT_FALSE(empty.isEmpty());

    // A valid year and month: the series are drawn, no error box.
    typeInto(chart, kEdit1X, QStringLiteral("2005"));
    typeInto(chart, kEdit2X, QStringLiteral("3"));
    ASSERT_TRUE(xtest::clickAt(display, chart, kFilterX, kFilterY));
    EXPECT_FALSE(waitForChange(chart, empty, 10000).isEmpty()) << "the chart did not change after the filter";
    const QByteArray drawn = waitForStill(chart, 10000);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_TRUE(boxes(mainMenu).empty()) << "an error box appeared for a valid filter";
    EXPECT_TRUE(xtest::isViewable(display, chart));

    // A year that is no number: the filter names an unknown column, and the
    // error box comes up over the window, holding the keyboard focus.
    typeInto(chart, kEdit1X, QStringLiteral("abc"));
    ASSERT_TRUE(xtest::clickAt(display, chart, kFilterX, kFilterY));
    xtest::WindowId box = 0;
    clock.restart();
    while (clock.elapsed() < 10000) {
        const std::vector<xtest::WindowId> found = boxes(mainMenu);
        if (!found.empty()) {
            box = found.front();
            break;
        }
        QThread::msleep(20);
    }
    ASSERT_NE(box, 0u) << "no error box appeared";
    EXPECT_EQ(boxes(mainMenu).size(), 1u);
    // It stands at the centre of the screen, where the user looks, not near
    // a corner.
    const QRect boxRect = xtest::windowOnScreen(display, box);
    const QRect screen = xtest::screenRect(display);
    ASSERT_FALSE(boxRect.isEmpty());
    const QPoint offCentre = (boxRect.topLeft() + QPoint(boxRect.width() / 2, boxRect.height() / 2)) -
                             QPoint(screen.width() / 2, screen.height() / 2);
    EXPECT_LE(offCentre.manhattanLength(), 8) << offCentre.x() << ", " << offCentre.y();
    clock.restart();
    while (xtest::inputFocus(display) != box && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_EQ(xtest::inputFocus(display), box);

    // Enter presses its OK button: the box goes, the program keeps running
    // with the main menu and the chart window on screen.
    ASSERT_TRUE(xtest::xdotool(display, {QStringLiteral("key"), QStringLiteral("Return")}));
    clock.restart();
    while (!boxes(mainMenu).empty() && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(boxes(mainMenu).empty()) << "the error box did not close";
    const QByteArray afterFailure = waitForStill(chart, 10000);
    EXPECT_EQ(program.process().state(), QProcess::Running);
    EXPECT_TRUE(xtest::isViewable(display, mainMenu));
    EXPECT_TRUE(xtest::isViewable(display, chart));

    // The failed filter left the chart empty; the year again draws the
    // series again.
    ASSERT_FALSE(afterFailure.isEmpty());
    EXPECT_NE(afterFailure, drawn) << "the failed filter left the series drawn";
    typeInto(chart, kEdit1X, QStringLiteral("2005"));
    ASSERT_TRUE(xtest::clickAt(display, chart, kFilterX, kFilterY));
    EXPECT_FALSE(waitForChange(chart, afterFailure, 10000).isEmpty());
    QThread::msleep(500);
    EXPECT_TRUE(boxes(mainMenu).empty());
    EXPECT_EQ(program.process().state(), QProcess::Running);
}

} // namespace
