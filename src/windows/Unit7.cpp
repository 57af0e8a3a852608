#include "windows/Unit7.h"

TForm7* Form7 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;



const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm7",
        .caption = QStringLiteral("年別売上（３Ｄ）"),
        .outerWidth = 613,
        .outerHeight = 499,
        .kind = ChartWindowKind::PerMonth,
        .queryName = QStringLiteral("Query1"),
        .panel = {.edit1 = {16, 97}, .label1Left = 120, .edit2 = {}, .label2Left = 0, .button1Left = 216, .button2Left = 312},
        .chart =
            {
                .view = View::ThreeD,
                .titleLines = {QStringLiteral("保険料金・患者数（数字表示）・保険外料金")},
                .titleHeight = 13,
                .bottomTitleHeight = 13,
                .leftTitleHeight = 15,
                .leftTitleBold = true,
                .rightTitleHeight = 15,
                .xDateTime = false, // month numbers are plain numbers here
                .series = {{
                    {.color = colors::red, .labelColumn = {}, .pen = {}, .marker = rectangle(3), .valueLabelConnector = {}},
                    {.color = colors::green, .labelColumn = {}, .pen = pen(colors::teal, 2), .marker = rectangle(3), .valueLabelConnector = 0},
                    {.color = colors::yellow, .labelColumn = {}, .pen = {}, .marker = rectangle(3), .valueLabelConnector = {}},
                }},
            },
    };
    return declared;
}

} // namespace

TForm7::TForm7(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query1(query()) {}
