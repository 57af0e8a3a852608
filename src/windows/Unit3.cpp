#include "windows/Unit3.h"

TForm3* Form3 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;

const QString kMonth = QStringLiteral("月");

const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm3",
        .caption = QStringLiteral("年別売上（３Ｄ）"),
        .outerWidth = 629,
        .outerHeight = 502,
        .kind = ChartWindowKind::PerMonth,
        .queryName = QStringLiteral("Query2"),
        .panel = {.edit1 = {16, 81}, .label1Left = 112, .label1Top = 9, .edit2 = {}, .label2Left = 0, .button1Left = 200, .button2Left = 328},
        .chart =
            {
                .view = View::ThreeD,
                .titleLines = {QStringLiteral("保険料金・患者数・保険外料金（金額表示）"), QString()},
                .titleHeight = 16,
                .bottomTitleHeight = 15,
                .leftTitleHeight = 16,
                .leftTitleBold = true,
                .leftTitleSize = 2,
                .rightTitleHeight = 16,
                .series = {{
                    {.color = colors::red, .labelColumn = kMonth, .pen = {}, .marker = rectangle(3), .valueLabelConnector = {}},
                    {.color = colors::green, .labelColumn = kMonth, .pen = pen(colors::green, 2), .marker = rectangle(3), .valueLabelConnector = {}},
                    {.color = colors::yellow, .labelColumn = {}, .pen = {}, .marker = rectangle(3), .valueLabelConnector = 8},
                }},
            },
    };
    return declared;
}

} // namespace

TForm3::TForm3(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query2(query()) {}
