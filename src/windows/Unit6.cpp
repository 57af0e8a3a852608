#include "windows/Unit6.h"

TForm6* Form6 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;

const QString kMonth = QStringLiteral("月");

const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm6",
        .caption = QStringLiteral("年別売上（平面図）"),
        .outerWidth = 692,
        .outerHeight = 491,
        .kind = ChartWindowKind::PerMonth,
        .queryName = QStringLiteral("Query5"),
        .panel = {.edit1 = {48, 105}, .label1Left = 160, .edit2 = {}, .label2Left = 0, .button1Left = 256, .button2Left = 344},
        .chart =
            {
                .view = View::Flat,
                .titleLines = {QStringLiteral("保険料金（金額表示）・患者数・保険外料金"), QString()},
                .titleHeight = 16,
                .bottomTitleHeight = 16,
                .leftTitleHeight = 16,
                .leftTitleBold = true,
                .rightTitleHeight = 16,
                .series = {{
                    {.color = colors::red, .labelColumn = kMonth, .pen = pen(colors::red, 3), .marker = rectangle(3), .valueLabelConnector = 8},
                    {.color = colors::green, .labelColumn = {}, .pen = pen(colors::teal, 2), .marker = rectangle(3), .valueLabelConnector = {}},
                    {.color = colors::lime, .labelColumn = kMonth, .pen = pen(colors::blue, 3), .marker = rectangle(3, colors::yellow), .valueLabelConnector = {}},
                }},
            },
    };
    return declared;
}

} // namespace

TForm6::TForm6(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query5(query()) {}
