// The window set: creation and destruction order, what is visible at start,
// and the end of the program when the main menu window closes.
#include "app/window_set.h"
#include "data/engine.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/Unit6.h"
#include "windows/Unit7.h"
#include "windows/window_rules.h"

#include <QApplication>
#include <QChildEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QStringList kCreationOrder = {"Form1", "Form2", "Form3", "Form4", "Form6", "Form5", "Form7"};

// Records the windows the owner window receives, in the order they are made.
class ChildRecorder : public QObject {
public:
    std::vector<QObject*> added;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && watched->objectName() == QLatin1String("Owner"))
            added.push_back(static_cast<QChildEvent*>(event)->child());
        return false;
    }
};

TEST(WindowSet, CreatesTheSevenWindowsInOrderUnderTheOwner)
{
    ChildRecorder recorder;
    qApp->installEventFilter(&recorder);
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    qApp->removeEventFilter(&recorder);

    QStringList created;
    for (QObject* child : recorder.added)
        created << child->objectName();
    EXPECT_EQ(created, kCreationOrder);

    const std::vector<QWidget*> globals = {Form1, Form2, Form3, Form4, Form6, Form5, Form7};
    EXPECT_EQ(set.windows(), globals);
    for (QWidget* window : set.windows()) {
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->parentWidget(), set.owner());
    }
    EXPECT_EQ(set.owner()->windowTitle(), QStringLiteral("売上"));
}

TEST(WindowSet, OnlyTheMainMenuIsVisibleAfterStart)
{
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    for (QWidget* window : set.windows())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
    EXPECT_TRUE(Form1->isVisible());
    for (QWidget* window : set.windows())
        if (window != Form1) {
            EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        }
    EXPECT_FALSE(set.owner()->isVisible());
}

TEST(WindowSet, DestroysInReverseOrderAfterHidingEverything)
{
    QStringList destroyed;
    bool anyVisibleAtFirstDestruction = false;
    {
        uriage::data::Engine engine;
        uriage::WindowSet set{engine};
        uriage::makeVisible(Form1);
        uriage::makeVisible(Form2);
        uriage::makeVisible(Form7);
        for (QWidget* window : set.windows()) {
            const QString name = window->objectName();
            QObject::connect(window, &QObject::destroyed, [&destroyed, &anyVisibleAtFirstDestruction, name] {
                if (destroyed.isEmpty())
                    anyVisibleAtFirstDestruction = Form1->isVisible() || Form2->isVisible();
                destroyed << name;
            });
        }
    }
    QStringList reversed = kCreationOrder;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(destroyed, reversed);
    EXPECT_FALSE(anyVisibleAtFirstDestruction);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form5, nullptr);
    EXPECT_EQ(Form7, nullptr);
}

// The whole end of the program: the main menu window is closed ("終了") while
// chart windows are visible; the loop stops and every window goes.
TEST(ProgramEnd, ClosingTheMainMenuEndsTheLoopWithChartWindowsVisible)
{
    for (const bool byCloseBox : {false, true}) {
        QStringList destroyed;
        bool chartsVisibleWhenLoopEnded = false;
        bool loopTimedOut = false;
        {
            uriage::data::Engine engine;
            uriage::WindowSet set{engine};
            uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
            Form1->Button1Click();
            uriage::makeVisible(Form3);
            for (QWidget* window : set.windows())
                QObject::connect(window, &QObject::destroyed,
                                 [&destroyed, name = window->objectName()] { destroyed << name; });

            QTimer::singleShot(0, Form1, [byCloseBox] {
                if (byCloseBox)
                    Form1->close();
                else
                    Form1->Button3->click();
            });
            QTimer watchdog;
            watchdog.setSingleShot(true);
            QObject::connect(&watchdog, &QTimer::timeout, [&loopTimedOut] {
                loopTimedOut = true;
                QApplication::quit();
            });
            watchdog.start(5000);
            uriage::runMessageLoop(Form1);
            watchdog.stop();
            chartsVisibleWhenLoopEnded = Form2->isVisible() && Form3->isVisible();
            EXPECT_FALSE(Form1->isVisible());
        }
        EXPECT_FALSE(loopTimedOut) << "by close box: " << byCloseBox;
        EXPECT_TRUE(chartsVisibleWhenLoopEnded);
        EXPECT_EQ(destroyed.size(), 7);
        EXPECT_EQ(Form2, nullptr);
    }
}

} // namespace
