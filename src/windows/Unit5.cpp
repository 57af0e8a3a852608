#include "windows/Unit5.h"

TForm5* Form5 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;

const QString kDate = QStringLiteral("施術日");

const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm5",
        .caption = QStringLiteral("月別売上（３Ｄ）患者数"),
        .outerWidth = 628,
        .outerHeight = 468,
        .kind = ChartWindowKind::PerDay,
        .queryName = QStringLiteral("Query1"),
        .panel = {.edit1 = {24, 89}, .label1Left = 120, .edit2 = DeclaredEdit{192, 65}, .label2Left = 264, .button1Left = 312, .button2Left = 400},
        .chart =
            {
                .view = View::ThreeD,
                .titleLines = {QStringLiteral("保険料金・患者数（数字表示）・保険外料金")},
                .titleHeight = 16,
                .bottomTitleHeight = 15,
                .leftTitleHeight = 15,
                .leftTitleBold = true,
                .rightTitleHeight = 15,
                .series = {{
                    {.color = colors::red, .labelColumn = kDate, .pen = {}, .marker = rectangle(2), .valueLabelConnector = {}},
                    {.color = colors::green, .labelColumn = kDate, .pen = {}, .marker = rectangle(3), .valueLabelConnector = 0},
                    {.color = colors::yellow, .labelColumn = {}, .pen = {}, .marker = rectangle(2), .valueLabelConnector = {}},
                }},
            },
    };
    return declared;
}

} // namespace

TForm5::TForm5(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query1(query()) {}
