// Where the owner window stands, and with it the error box: the centre of the
// primary screen, or of the active window's monitor while the box is open;
// the box writes in the program's window font.
#include "app/error_box.h"
#include "app/owner_placement.h"
#include "app/window_set.h"
#include "data/engine.h"
#include "windows/fonts.h"
#include "common/failure.h"
#include "windows/Unit1.h"
#include "windows/handler_dispatch.h"
#include "windows/window_placement.h"
#include "windows/window_rules.h"

#include "modal_responder.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct OwnerCase {
    const char* name;
    QRect primary;
    std::optional<QRect> activeMonitor;
    QSize owner;
    QPoint expected;
};

void PrintTo(const OwnerCase& c, std::ostream* os) { *os << c.name; }

class OwnerPlacement : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(OwnerPlacement, CentresTheOwnerOnTheMonitorOfTheActiveWindow)
{
    const auto& c = GetParam();
    const QPoint at = uriage::ownerWindowPosition(c.primary, c.activeMonitor, c.owner);
    EXPECT_EQ(at, c.expected);
}

const QRect k1280x1024(0, 0, 1280, 1024);
const QRect kRightOf1280(1280, 0, 1920, 1080);
const QRect kLeftOfPrimary(-1024, 200, 1024, 768);

const OwnerCase kOwnerCases[] = {
    // One monitor: the primary screen's centre, whether or not a window is active.
    {"OneMonitorNoActiveWindow", k1280x1024, std::nullopt, {640, 480}, {320, 272}},
    {"OneMonitorActiveWindowOnIt", k1280x1024, k1280x1024, {640, 480}, {320, 272}},
    {"OneMonitorOddSizeTruncated", {0, 0, 1024, 768}, std::nullopt, {641, 481}, {191, 143}},
    {"OwnerLargerThanTheScreen", {0, 0, 640, 480}, std::nullopt, {800, 600}, {0, 0}},
    // Two monitors: the monitor of the active window.
    {"TwoMonitorsActiveOnPrimary", k1280x1024, k1280x1024, {640, 480}, {320, 272}},
    {"TwoMonitorsActiveOnTheRight", k1280x1024, kRightOf1280, {640, 480}, {1280 + 640, 300}},
    {"TwoMonitorsActiveOnTheLeft", k1280x1024, kLeftOfPrimary, {640, 480}, {-1024 + 192, 200 + 144}},
    {"TwoMonitorsNoActiveWindow", k1280x1024, std::nullopt, {640, 480}, {320, 272}},
};

INSTANTIATE_TEST_SUITE_P(Screens, OwnerPlacement, ::testing::ValuesIn(kOwnerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OwnedBox, StandsCentredOnTheOwnerWindowWhateverItsSize)
{
    const struct {
        const char* name;
        QRect owner;
        QSize box;
        QPoint expected;
    } cases[] = {
        {"SmallerBox", {320, 272, 640, 480}, {192, 85}, {544, 469}},
        {"OddDifferencesTruncated", {0, 0, 640, 480}, {193, 86}, {223, 197}},
        {"WiderThanTheOwner", {320, 272, 640, 480}, {900, 120}, {190, 452}},
        {"OnAMonitorLeftOfThePrimary", {-832, 344, 640, 480}, {192, 85}, {-608, 541}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(uriage::ownedBoxPosition(c.owner, c.box), c.expected);
    }
}

struct SeenBox {
    QRect frame;
    QFont font;
};

TEST(ErrorBoxPlace, StandsAtTheScreenCentreInTheWindowFontAndTheOwnerStaysThere)
{
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    uriage::setErrorDisplay([&set](const QString& m) { uriage::showErrorBox(m, set.owner()); });

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint ownerPlace = uriage::centredOn(screen, set.owner()->size());
    EXPECT_EQ(set.owner()->pos(), ownerPlace) << "the owner window stands at the centre from the start";

    SeenBox seen;
    {
        ModalResponder responder([&seen](QMessageBox* box) {
            seen.frame = box->frameGeometry();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                seen.font = label->font();
        });
        uriage::dispatchHandler([] { throw uriage::Failure(QStringLiteral("テーブルが開けません")); });
        EXPECT_EQ(responder.answered(), 1);
    }
    uriage::setErrorDisplay({});

    // Centred on the owner window, so on the screen, within the few pixels
    // that the toolkit's rounding with the window frame may leave.
    const QPoint middle = screen.topLeft() + QPoint(screen.width() / 2, screen.height() / 2);
    const QPoint boxMiddle = seen.frame.topLeft() + QPoint(seen.frame.width() / 2, seen.frame.height() / 2);
    EXPECT_LE((boxMiddle - middle).manhattanLength(), 4) << boxMiddle.x() << ", " << boxMiddle.y();
    EXPECT_EQ(set.owner()->pos(), ownerPlace) << "the owner window is back where it stood";

    // The window font: its family asked for by name, 12 pixels, and a
    // proportional stand-in (the fixed-pitch fallback gives "i" the width of "W").
    EXPECT_EQ(seen.font.family(), uriage::kGothicFamily);
    EXPECT_EQ(seen.font.pixelSize(), 12);
    const QFontMetrics metrics(seen.font);
    EXPECT_LT(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("保険料金")),
              QFontMetrics(uriage::makeFont(uriage::kGothicFamily, 12)).horizontalAdvance(QStringLiteral("保険料金")));
}

// Run once more on two monitors (the offscreen platform's two_monitors.json):
// with the main menu on the right-hand monitor, the box appears at that
// monitor's centre, and the owner window goes back to the primary screen.
TEST(ErrorBoxOnTwoMonitors, AppearsOnTheMonitorOfTheActiveWindow)
{
    if (QGuiApplication::screens().size() < 2)
        GTEST_SKIP() << "one monitor in this run";
    uriage::data::Engine engine;
    uriage::WindowSet set{engine};
    uriage::showMainWindow(Form1, uriage::platform::InitialShow::Normal);
    QScreen* right = QGuiApplication::screens().at(1);
    const QRect monitor = right->geometry();
    Form1->move(monitor.topLeft() + QPoint(100, 100));
    Form1->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(Form1), 2000);
    ASSERT_EQ(QGuiApplication::screenAt(Form1->frameGeometry().center()), right);
    uriage::setErrorDisplay([&set](const QString& m) { uriage::showErrorBox(m, set.owner()); });

    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    const QPoint ownerPlace = uriage::centredOn(primary, set.owner()->size());
    QRect frame;
    QPoint ownerDuringBox;
    {
        ModalResponder responder([&](QMessageBox* box) {
            frame = box->frameGeometry();
            ownerDuringBox = set.owner()->pos();
        });
        uriage::dispatchHandler([] { throw uriage::Failure(QStringLiteral("x")); });
        EXPECT_EQ(responder.answered(), 1);
    }
    uriage::setErrorDisplay({});

    EXPECT_EQ(ownerDuringBox, uriage::centredOn(monitor, set.owner()->size()));
    const QPoint middle = monitor.topLeft() + QPoint(monitor.width() / 2, monitor.height() / 2);
    const QPoint boxMiddle = frame.topLeft() + QPoint(frame.width() / 2, frame.height() / 2);
    EXPECT_LE((boxMiddle - middle).manhattanLength(), 4) << boxMiddle.x() << ", " << boxMiddle.y();
    EXPECT_EQ(set.owner()->pos(), ownerPlace) << "back on the primary screen";
}

} // namespace
