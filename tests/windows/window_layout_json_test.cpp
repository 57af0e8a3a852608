// Where the probe says a window's controls are is where a click lands on
// them: for every window, a click at the middle of each reported control
// reaches that control, and the controls the checks under Wine click are
// reported with their captions.
#include "json/window_layout_json.h"
#include "data/engine.h"
#include "windows/Unit1.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QJsonArray>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace uriage::probe {
namespace {

struct LayoutCase {
    const char* form;
    // Controls that must be reported: object name and caption.
    std::vector<std::pair<QString, QString>> named;
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) { return os << c.form; }

std::unique_ptr<QWidget> createWindow(const QString& form, data::Engine& engine)
{
    if (form == QStringLiteral("TForm1"))
        return std::make_unique<TForm1>();
    return createChartWindow(form, engine);
}

const std::vector<std::pair<QString, QString>> kPerMonthPanel = {
    {QStringLiteral("Edit1"), QString()},
    {QStringLiteral("Label1"), QStringLiteral("年（西暦）")},
    {QStringLiteral("Button1"), QStringLiteral("フィルター")},
    {QStringLiteral("Button2"), QStringLiteral("戻る")},
};
const std::vector<std::pair<QString, QString>> kPerDayPanel = {
    {QStringLiteral("Edit1"), QString()},
    {QStringLiteral("Label1"), QStringLiteral("年（西暦）")},
    {QStringLiteral("Edit2"), QString()},
    {QStringLiteral("Label2"), QStringLiteral("月")},
    {QStringLiteral("Button1"), QStringLiteral("フィルター")},
    {QStringLiteral("Button2"), QStringLiteral("戻る")},
};

class WindowLayoutJson : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WindowLayoutJson, ClicksAtReportedPlacesReachTheirControls)
{
    const LayoutCase& c = GetParam();
    data::Engine engine;
    const std::unique_ptr<QWidget> window = createWindow(QString::fromLatin1(c.form), engine);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QJsonObject json = windowLayoutJson(*window);
    EXPECT_EQ(json["title"].toString(), window->windowTitle());
    EXPECT_EQ(json["client"].toArray(), (QJsonArray{window->width(), window->height()}));

    const QRect client = window->rect();
    std::map<QString, QString> reported;
    const QJsonArray controls = json["controls"].toArray();
    ASSERT_FALSE(controls.isEmpty());
    for (const QJsonValue& value : controls) {
        const QJsonObject control = value.toObject();
        const QString name = control["name"].toString();
        const QJsonArray r = control["rect"].toArray();
        const QRect rect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(rect.isEmpty());
        EXPECT_TRUE(client.contains(rect)) << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x'
                                           << rect.height();
        // The control under the middle of its rectangle is itself or one of its children.
        QWidget* hit = window->childAt(rect.center());
        const auto* expected = window->findChild<QWidget*>(name);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(control["class"].toString(), QString::fromLatin1(expected->metaObject()->className()));
        EXPECT_TRUE(hit == expected || expected->isAncestorOf(hit))
            << "at the middle is " << (hit ? hit->objectName().toStdString() : "nothing");
        reported[name] = control["text"].toString();
    }
    for (const auto& [name, text] : c.named) {
        ASSERT_TRUE(reported.count(name)) << name.toStdString() << " not reported";
        EXPECT_EQ(reported[name], text) << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowLayoutJson,
    ::testing::Values(LayoutCase{"TForm1",
                                 {{QStringLiteral("Button1"), QStringLiteral("月別売上（平面図）保険料金")},
                                  {QStringLiteral("Button3"), QStringLiteral("終了")},
                                  {QStringLiteral("Label2"),
                                   QStringLiteral("制作・著作　Zelmora　無断で複製することを禁じます")}}},
                      LayoutCase{"TForm2", kPerDayPanel}, LayoutCase{"TForm3", kPerMonthPanel},
                      LayoutCase{"TForm4", kPerDayPanel}, LayoutCase{"TForm5", kPerDayPanel},
                      LayoutCase{"TForm6", kPerMonthPanel}, LayoutCase{"TForm7", kPerMonthPanel}),
    [](const auto& info) { return std::string(info.param.form); });

} // namespace
} // namespace uriage::probe
