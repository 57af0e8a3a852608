// One copy per logon: real program processes on the test X server.
#include "x_display.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kMainClass = QStringLiteral("TForm1");

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = xtest::testDisplay();
        if (display.isEmpty())
            GTEST_SKIP() << "no test display (URIAGE_TEST_DISPLAY is set by the x_server test fixture)";
        ASSERT_TRUE(runtimeDir.isValid());
        ASSERT_TRUE(xtest::connect(display)) << "cannot connect to " << display.toStdString();
        ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 0, 5000)) << "a main menu is already on the display";
    }

    QString display;
    QTemporaryDir runtimeDir;
};

TEST_F(SingleInstance, SecondCopyEndsAtOnceWithoutAWindowAndBringsTheFirstForward)
{
    xtest::Program first(display, runtimeDir.path());
    ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 1, 15000));
    const xtest::WindowId mainMenu = xtest::windowsOfClass(display, kMainClass).front();

    // Take the keyboard focus away from the first copy.
    xtest::focusRoot(display);
    ASSERT_NE(xtest::inputFocus(display), mainMenu);

    QElapsedTimer clock;
    clock.start();
    xtest::Program second(display, runtimeDir.path());
    ASSERT_TRUE(second.process().waitForFinished(1000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);

    EXPECT_EQ(xtest::windowsOfClass(display, kMainClass).size(), 1u);
    EXPECT_EQ(first.process().state(), QProcess::Running);

    EXPECT_EQ(xtest::inputFocus(display), mainMenu);
}

TEST_F(SingleInstance, FirstCopyKilledDoesNotBlockTheNextStart)
{
    {
        xtest::Program crashed(display, runtimeDir.path());
        ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 1, 15000))
            << xtest::windowsOfClass(display, kMainClass).size() << " state " << crashed.process().state()
            << " exit " << crashed.process().exitCode() << " " << crashed.process().error();
        ::kill(static_cast<pid_t>(crashed.process().processId()), SIGKILL);
        ASSERT_TRUE(crashed.process().waitForFinished(5000));
        EXPECT_EQ(crashed.process().exitStatus(), QProcess::CrashExit);
    }
    ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 0, 5000));

    xtest::Program next(display, runtimeDir.path());
    EXPECT_TRUE(xtest::waitForWindowCount(display, kMainClass, 1, 15000));
    EXPECT_EQ(next.process().state(), QProcess::Running);
}

TEST_F(SingleInstance, CopiesOfDifferentLogonsRunSideBySide)
{
    // Another runtime directory stands for another user's logon.
    QTemporaryDir otherLogon;
    xtest::Program first(display, runtimeDir.path());
    ASSERT_TRUE(xtest::waitForWindowCount(display, kMainClass, 1, 15000));
    xtest::Program other(display, otherLogon.path());
    EXPECT_TRUE(xtest::waitForWindowCount(display, kMainClass, 2, 15000));
    EXPECT_EQ(other.process().state(), QProcess::Running);
}

} // namespace
