// The error message box and the dispatch boundary that leads to it.
#include "app/error_box.h"
#include "app/window_set.h"
#include "data/engine.h"
#include "common/failure.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/handler_dispatch.h"
#include "windows/window_rules.h"

#include "modal_responder.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool okButton = false;
    Qt::WindowModality modality = Qt::NonModal;
    bool mainMenuBlocked = false;
    bool chartShownDuringBox = false;
};

class ErrorBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
        uriage::setErrorDisplay([this](const QString& m) { uriage::showErrorBox(m, set.owner()); });
    }
    void TearDown() override { uriage::setErrorDisplay({}); }

    static SeenBox inspect(QMessageBox* box)
    {
        SeenBox seen;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        seen.buttons = static_cast<int>(box->buttons().size());
        seen.okButton = box->button(QMessageBox::Ok) != nullptr;
        seen.modality = box->windowModality();
        // A click on the main menu's chart button, delivered as the window system
        // would: the box blocks it.
        const QPoint centre = Form1->Button1->mapTo(Form1, Form1->Button1->rect().center());
        QTest::mouseClick(Form1->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
        seen.chartShownDuringBox = Form2->isVisible();
        return seen;
    }

    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
};

TEST_F(ErrorBox, ShowsTheFailureUnderTheProgramTitleWithStopIconAndOk)
{
    SeenBox seen;
    int laterSteps = 0;
    {
        ModalResponder responder([&seen](QMessageBox* box) { seen = inspect(box); });
        uriage::dispatchHandler([&laterSteps] {
            throw uriage::componentFailure(QStringLiteral("Query1"), QStringLiteral("<b>年</b> not found"));
            ++laterSteps;
        });
        EXPECT_EQ(responder.answered(), 1);
    }
    EXPECT_EQ(laterSteps, 0);
    EXPECT_EQ(seen.caption, QStringLiteral("売上"));
    EXPECT_EQ(seen.text, QStringLiteral("Query1: <b>年</b> not found."));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.okButton);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_FALSE(seen.chartShownDuringBox);
    // The same click after the box reaches the button.
    const QPoint centre = Form1->Button1->mapTo(Form1, Form1->Button1->rect().center());
    QTest::mouseClick(Form1->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_TRUE(Form2->isVisible());
}

TEST_F(ErrorBox, CaptionIsTheOwnerTitleAtThatMoment)
{
    set.owner()->setWindowTitle(QStringLiteral("売上２"));
    QString caption;
    ModalResponder responder([&caption](QMessageBox* box) { caption = box->windowTitle(); });
    uriage::dispatchHandler([] { throw uriage::Failure(QStringLiteral("x")); });
    EXPECT_EQ(caption, QStringLiteral("売上２"));
}

TEST_F(ErrorBox, EarlierStepsOfTheFailedHandlerStayDone)
{
    QStringList texts;
    ModalResponder responder([&texts](QMessageBox* box) { texts << box->text(); });
    uriage::dispatchHandler([] {
        uriage::makeVisible(Form2);
        throw uriage::Failure(QStringLiteral("テーブルがありません。"));
    });
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(texts, QStringList{QStringLiteral("テーブルがありません。.")});
}

TEST_F(ErrorBox, SilentAbortShowsNothingAndOtherExceptionsShowTheirText)
{
    QStringList texts;
    ModalResponder responder([&texts](QMessageBox* box) { texts << box->text(); });
    uriage::dispatchHandler([] { throw uriage::SilentAbort(); });
    uriage::dispatchHandler([] { throw std::runtime_error("bad thing"); });
    uriage::dispatchHandler([] { throw 42; });
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("bad thing."));
    EXPECT_FALSE(texts[1].isEmpty());
}

TEST_F(ErrorBox, ActiveWindowAndFocusComeBackAfterOk)
{
    Form1->Button6->setFocus();
    ModalResponder responder;
    uriage::dispatchHandler([] { throw uriage::Failure(QStringLiteral("x")); });
    EXPECT_EQ(responder.answered(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    EXPECT_EQ(QApplication::focusWidget(), Form1->Button6);
}

} // namespace
