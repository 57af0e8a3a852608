#include "windows/Unit2.h"

TForm2* Form2 = nullptr;

namespace {

using namespace uriage;
using namespace uriage::declare;
using chart::View;
namespace colors = chart::colors;

const QString kDate = QStringLiteral("施術日");

const ChartWindowDeclaration& declaration()
{
    static const ChartWindowDeclaration declared{
        .className = "TForm2",
        .caption = QStringLiteral("月別売上（平面図）"),
        .outerWidth = 737,
        .outerHeight = 480,
        .kind = ChartWindowKind::PerDay,
        .queryName = QStringLiteral("Query1"),
        .panel = {.edit1 = {24, 81}, .label1Left = 112, .edit2 = DeclaredEdit{192, 57}, .label2Left = 256, .button1Left = 336, .button2Left = 424},
        .chart =
            {
                .view = View::Flat,
                .titleLines = {QStringLiteral("保険料金（金額表示）・患者数・保険外料金")},
                .titleHeight = 16,
                .bottomTitleHeight = 16,
                .leftTitleHeight = 16,
                .leftTitleBold = false,
                .rightTitleHeight = 16,
                .series = {{
                    {.color = colors::red, .labelColumn = kDate, .pen = pen(colors::red, 3), .marker = circle(3), .valueLabelConnector = 8},
                    {.color = colors::green, .labelColumn = {}, .pen = {}, .marker = defaultRectangle(), .valueLabelConnector = {}},
                    {.color = colors::lime, .labelColumn = kDate, .pen = pen(colors::blue, 4), .marker = rectangle(3), .valueLabelConnector = {}},
                }},
            },
    };
    return declared;
}

} // namespace

TForm2::TForm2(uriage::data::Engine& engine, QWidget* parent) : ChartWindow(declaration(), engine, parent), Query1(query()) {}
