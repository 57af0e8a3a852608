// Minimising the main menu minimises every visible window and restores them together.
#include "app/window_set.h"
#include "data/engine.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/window_rules.h"

#include <gtest/gtest.h>

namespace {

bool minimised(const QWidget* w) { return w->windowState() & Qt::WindowMinimized; }

TEST(MinimiseTogether, VisibleWindowsGoAndComeBackWithTheMainMenu)
{
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
    uriage::makeVisible(Form2);

    Form1->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(minimised(Form2));
    EXPECT_FALSE(minimised(Form3)); // hidden windows stay as they are
    EXPECT_FALSE(Form3->isVisible());

    Form1->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(minimised(Form2));
    EXPECT_TRUE(Form2->isVisible());
}

TEST(MinimiseTogether, AWindowMinimisedOnItsOwnStaysMinimised)
{
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
    uriage::makeVisible(Form2);
    uriage::makeVisible(Form3);
    Form3->setWindowState(Qt::WindowMinimized);

    Form1->setWindowState(Qt::WindowMinimized);
    Form1->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(minimised(Form2));
    EXPECT_TRUE(minimised(Form3));
}

} // namespace
