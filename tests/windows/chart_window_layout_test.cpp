// Each chart window is built from its declared data: caption, client size,
// panel controls at their places with their captions and fonts, the query
// component, and the chart filling the client area below the panel.
#include "chart/model/chart_model.h"
#include "chart/chart_widget.h"
#include "chart_window_fixture.h"

#include <QFrame>
#include <QLabel>

namespace uriage::testing {
namespace {

struct LayoutCase {
    const char* form;
    QString caption;
    QSize outer;
    QString queryName;
    data::QueryKind queryKind;
    QRect edit1;
    QRect label1;
    std::optional<QRect> edit2;
    std::optional<QRect> label2;
    int button1Left;
    int button2Left;
};

const QRect none;

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.form; }

class ChartWindowLayout : public ChartWindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ChartWindowLayout, FollowsTheDeclaration)
{
    const LayoutCase& c = GetParam();
    auto window = makeWindow(QString::fromLatin1(c.form));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QString::fromLatin1(c.form).mid(1));
    EXPECT_EQ(window->windowTitle(), c.caption);
    EXPECT_EQ(window->size(), c.outer - QSize(8, 34));
    EXPECT_EQ(window->query().componentName(), c.queryName);
    EXPECT_EQ(window->query().kind(), c.queryKind);
    EXPECT_EQ(window->kind(), c.edit2 ? ChartWindowKind::PerDay : ChartWindowKind::PerMonth);

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const int clientWidth = window->width();
    EXPECT_EQ(window->Panel1->geometry(), QRect(0, 0, clientWidth, 41));
    EXPECT_EQ(window->DBChart1->geometry(), QRect(0, 41, clientWidth, window->height() - 41));

    EXPECT_EQ(window->Edit1->geometry(), c.edit1);
    EXPECT_EQ(window->Label1->geometry(), c.label1);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("年（西暦）"));
    ASSERT_EQ(window->Edit2 != nullptr, c.edit2.has_value());
    ASSERT_EQ(window->Label2 != nullptr, c.label2.has_value());
    if (c.edit2) {
        EXPECT_EQ(window->Edit2->geometry(), *c.edit2);
        EXPECT_EQ(window->Label2->geometry(), *c.label2);
        EXPECT_EQ(window->Label2->text(), QStringLiteral("月"));
    }
    EXPECT_EQ(window->Button1->geometry(), QRect(c.button1Left, 8, 75, 25));
    EXPECT_EQ(window->Button2->geometry(), QRect(c.button2Left, 8, 75, 25));
    EXPECT_EQ(window->Button1->text(), QStringLiteral("フィルター"));
    EXPECT_EQ(window->Button2->text(), QStringLiteral("戻る"));

    for (QLabel* label : {window->Label1, window->Label2}) {
        if (!label)
            continue;
        EXPECT_EQ(label->font().pixelSize(), 16);
        EXPECT_TRUE(label->font().bold());
    }
    EXPECT_EQ(window->Edit1->font().pixelSize(), 12);
    EXPECT_FALSE(window->Edit1->font().bold());
    EXPECT_TRUE(window->Edit1->text().isEmpty());
    EXPECT_FALSE(window->Button1->isDefault() || window->Button1->autoDefault());
    EXPECT_FALSE(window->Button2->isDefault() || window->Button2->autoDefault());

    // The chart follows the window's size.
    window->resize(window->width() + 50, window->height() + 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Panel1->width(), window->width());
    EXPECT_EQ(window->DBChart1->geometry(), QRect(0, 41, window->width(), window->height() - 41));
}

TEST_P(ChartWindowLayout, TabsThroughTheBoxesAndButtonsInOrder)
{
    const LayoutCase& c = GetParam();
    auto window = makeWindow(QString::fromLatin1(c.form));
    ASSERT_NE(window, nullptr);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->Edit1) << "first activation";

    std::vector<QWidget*> order{window->Edit1};
    if (window->Edit2)
        order.push_back(window->Edit2);
    order.push_back(window->Button1);
    order.push_back(window->Button2);
    order.push_back(window->Edit1); // and round again
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "after " << i << " tabs";
    }
}

const auto Daily = data::QueryKind::Daily;
const auto Monthly = data::QueryKind::Monthly;

INSTANTIATE_TEST_SUITE_P(
    Windows, ChartWindowLayout,
    ::testing::Values(
        LayoutCase{"TForm2", QStringLiteral("月別売上（平面図）"), {737, 480}, "Query1", Daily,
                   {24, 8, 81, 20}, {112, 8, 69, 16}, QRect(192, 8, 57, 20), QRect(256, 8, 17, 16), 336, 424},
        LayoutCase{"TForm3", QStringLiteral("年別売上（３Ｄ）"), {629, 502}, "Query2", Monthly,
                   {16, 8, 81, 20}, {112, 9, 69, 16}, std::nullopt, std::nullopt, 200, 328},
        LayoutCase{"TForm4", QStringLiteral("月別売上（３Ｄ）"), {718, 518}, "Query1", Daily,
                   {16, 8, 73, 20}, {96, 8, 69, 16}, QRect(176, 8, 49, 20), QRect(232, 8, 17, 16), 288, 384},
        LayoutCase{"TForm5", QStringLiteral("月別売上（３Ｄ）患者数"), {628, 468}, "Query1", Daily,
                   {24, 8, 89, 20}, {120, 8, 69, 16}, QRect(192, 8, 65, 20), QRect(264, 8, 17, 16), 312, 400},
        LayoutCase{"TForm6", QStringLiteral("年別売上（平面図）"), {692, 491}, "Query5", Monthly,
                   {48, 8, 105, 20}, {160, 8, 69, 16}, std::nullopt, std::nullopt, 256, 344},
        LayoutCase{"TForm7", QStringLiteral("年別売上（３Ｄ）"), {613, 499}, "Query1", Monthly,
                   {16, 8, 97, 20}, {120, 8, 69, 16}, std::nullopt, std::nullopt, 216, 312}),
    [](const auto& info) { return std::string(info.param.form); });

// The chart settings: the series carrying value labels is the one the title
// announces, x columns follow the kind, and every series names its columns.
TEST_F(ChartWindowTest, EachChartLabelsTheSeriesItsTitleAnnounces)
{
    const std::map<QString, int> labelled{{"TForm2", 0}, {"TForm3", 2}, {"TForm4", 2},
                                          {"TForm5", 1}, {"TForm6", 0}, {"TForm7", 1}};
    const QString announcedTitles[] = {QStringLiteral("保険料金（金額表示）"), QStringLiteral("患者数（数字表示）"),
                                       QStringLiteral("保険外料金（金額表示）")};
    for (const QString& form : chartWindowClassNames()) {
        SCOPED_TRACE(form.toStdString());
        auto window = makeWindow(form);
        ASSERT_NE(window, nullptr);
        const chart::ChartConfig& config = window->chart().config();
        const int shown = labelled.at(form);
        EXPECT_TRUE(config.titleLines.first().contains(announcedTitles[shown]));
        const bool perDay = window->kind() == ChartWindowKind::PerDay;
        EXPECT_EQ(config.bottomTitle.caption, perDay ? QStringLiteral("日") : QStringLiteral("月"));
        for (int i = 0; i < 3; ++i) {
            const chart::SeriesConfig& s = config.series[i];
            EXPECT_EQ(s.name, QStringLiteral("Series%1").arg(i + 1));
            EXPECT_EQ(s.valueLabels.shown, i == shown) << s.name.toStdString();
            EXPECT_EQ(s.xColumn, perDay ? QStringLiteral("施術日") : QStringLiteral("月"));
            EXPECT_EQ(s.xDateTime, form != QLatin1String("TForm7"));
            EXPECT_EQ(s.axis, i == 1 ? chart::VerticalAxis::Right : chart::VerticalAxis::Left);
            EXPECT_FALSE(s.yColumn.isEmpty());
        }
    }
}

} // namespace
} // namespace uriage::testing
