#include "windows/Unit4.h"

TForm4* Form4 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;

const QString kDate = QStringLiteral("施術日");

const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm4",
        .caption = QStringLiteral("月別売上（３Ｄ）"),
        .outerWidth = 718,
        .outerHeight = 518,
        .kind = ChartWindowKind::PerDay,
        .queryName = QStringLiteral("Query1"),
        .panel = {.edit1 = {16, 73}, .label1Left = 96, .edit2 = DeclaredEdit{176, 49}, .label2Left = 232, .button1Left = 288, .button2Left = 384},
        .chart =
            {
                .view = View::ThreeD,
                .titleLines = {QStringLiteral("保険料金・患者数・保険外料金（金額表示）")},
                .titleHeight = 16,
                .bottomTitleHeight = 16,
                .leftTitleHeight = 16,
                .leftTitleBold = true,
                .rightTitleHeight = 16,
                .series = {{
                    {.color = colors::red, .labelColumn = kDate, .pen = {}, .marker = rectangle(2), .valueLabelConnector = {}},
                    {.color = colors::green, .labelColumn = kDate, .pen = pen(colors::green, 2), .marker = rectangle(2, colors::lime), .valueLabelConnector = {}},
                    {.color = colors::yellow, .labelColumn = kDate, .pen = {}, .marker = rectangle(2), .valueLabelConnector = 8},
                }},
            },
    };
    return declared;
}

} // namespace

TForm4::TForm4(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query1(query()) {}
