// The main menu window: declared layout, tab order and the chart buttons.
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
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct ButtonCase {
    const char* name;
    QRect place;
    const char* caption;
};

TEST(MainMenu, ButtonsStandAtTheirDeclaredPlacesInTabOrder)
{
    TForm1 form;
    const ButtonCase declared[] = {
        {"Button1", {144, 40, 153, 25}, "月別売上（平面図）保険料金"},
        {"Button2", {8, 8, 121, 25}, "年別売上（３Ｄ）保険外"},
        {"Button3", {8, 80, 75, 25}, "終了"},
        {"Button4", {8, 40, 121, 25}, "月別売上（３Ｄ）保険外"},
        {"Button5", {144, 8, 153, 25}, "年別売上（平面図）保険料金"},
        {"Button6", {312, 40, 137, 25}, "月別売上（３Ｄ）患者数"},
        {"Button7", {312, 8, 137, 25}, "年別売上（３Ｄ）患者数"},
    };
    QWidget* previous = nullptr;
    for (const ButtonCase& c : declared) {
        SCOPED_TRACE(c.name);
        auto* button = form.findChild<QPushButton*>(QString::fromLatin1(c.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), c.place);
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
        if (previous) {
            QWidget* next = previous->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            EXPECT_EQ(next, button);
        }
        previous = button;
    }
    EXPECT_EQ(form.windowTitle(), QStringLiteral("売上"));
    EXPECT_EQ(form.size(), QSize(469, 160));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 119, 469, 41));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Version1.02"));
    EXPECT_EQ(form.Label1->pos(), QPoint(0, 8));
    EXPECT_EQ(form.Label2->pos(), QPoint(0, 24));
    EXPECT_FALSE(form.Label2->text().isEmpty());
    // The labels show their whole text.
    EXPECT_GE(form.Label1->width(), form.Label1->sizeHint().width());
    EXPECT_GE(form.Label2->width(), form.Label2->sizeHint().width());
    EXPECT_LE(form.Label2->geometry().right(), form.Panel1->width());
}

TEST(MainMenu, PanelFollowsTheBottomEdge)
{
    TForm1 form;
    form.show();
    form.resize(600, 300);
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 259, 600, 41));
}

class ChartButtons : public ::testing::Test {
protected:
    void SetUp() override { uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal); }

    std::vector<QWidget*> visibleCharts() const
    {
        std::vector<QWidget*> visible;
        for (QWidget* w : set.windows())
            if (w != Form1 && w->isVisible())
                visible.push_back(w);
        return visible;
    }

    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
};

TEST_F(ChartButtons, EachButtonShowsOnlyItsOwnChartWindow)
{
    const std::pair<QPushButton*, QWidget*> wiring[] = {
        {Form1->Button1, Form2}, {Form1->Button2, Form3}, {Form1->Button4, Form4},
        {Form1->Button5, Form6}, {Form1->Button6, Form5}, {Form1->Button7, Form7},
    };
    // Every order of one button after another: at most (exactly) one chart visible.
    for (const auto& [first, firstChart] : wiring) {
        for (const auto& [second, secondChart] : wiring) {
            first->click();
            second->click();
            EXPECT_EQ(visibleCharts(), std::vector<QWidget*>{secondChart})
                << first->objectName().toStdString() << " then " << second->objectName().toStdString();
            EXPECT_TRUE(Form1->isVisible());
        }
    }
}

TEST_F(ChartButtons, PressingTheButtonOfAVisibleChartLeavesItWhereItIs)
{
    Form1->Button2->click();
    Form3->move(30, 40);
    Form1->Button7->click();
    EXPECT_FALSE(Form3->isVisible());
    Form1->Button2->click();
    EXPECT_EQ(Form3->pos(), QPoint(30, 40));
    Form3->move(31, 41);
    Form1->Button2->click();
    EXPECT_EQ(Form3->pos(), QPoint(31, 41));
    EXPECT_EQ(visibleCharts(), std::vector<QWidget*>{Form3});
}

TEST_F(ChartButtons, EndButtonClosesTheMainMenu)
{
    int closedSignals = 0;
    QObject::connect(Form1, &TForm1::closed, [&closedSignals] { ++closedSignals; });
    Form1->Button5->click();
    Form1->Button3->click();
    EXPECT_EQ(closedSignals, 1);
    EXPECT_FALSE(Form1->isVisible());
}

} // namespace
