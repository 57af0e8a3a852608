#pragma once
// The declared data of one chart window: caption, outer size, filter panel,
// query component and the whole chart with its three series. Each window's
// unit holds one of these as plain data; nothing else differs between them.
#include "chart/model/chart_config.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace uriage {

// Per-day windows filter the daily aggregate by year and month; per-month
// windows filter the monthly aggregate by year.
enum class ChartWindowKind { PerDay, PerMonth };

struct DeclaredEdit {
    int left = 0;
    int width = 0;
};

// Left edges in the filter panel; every control's top is 8 unless told.
struct PanelDeclaration {
    DeclaredEdit edit1;
    int label1Left = 0;
    int label1Top = 8;
    std::optional<DeclaredEdit> edit2; // per-day windows only
    int label2Left = 0;                // per-day windows only
    int button1Left = 0;
    int button2Left = 0;
};

// One series as a window declares it; the rest follows from its place
// (Series1..Series3) and the window's kind.
struct SeriesDeclaration {
    QColor color;
    QString labelColumn;                     // empty: no label column
    std::optional<chart::LinePen> pen;       // unset: the default pen
    chart::MarkerSpec marker;
    std::optional<int> valueLabelConnector;  // set: value labels shown, value style
};

struct ChartDeclaration {
    chart::View view = chart::View::ThreeD;
    QStringList titleLines;
    int titleHeight = 16;
    int bottomTitleHeight = 16;
    int leftTitleHeight = 16;
    bool leftTitleBold = true;
    int leftTitleSize = 0;                   // 0: measured from the caption
    int rightTitleHeight = 16;
    bool xDateTime = true;
    std::array<SeriesDeclaration, 3> series;
};

struct ChartWindowDeclaration {
    const char* className;                   // "TForm2"
    QString caption;
    int outerWidth = 0;
    int outerHeight = 0;
    ChartWindowKind kind = ChartWindowKind::PerDay;
    QString queryName;                       // "Query1", "Query2", "Query5"
    PanelDeclaration panel;
    ChartDeclaration chart;
};

// Declaration helpers for the units' tables.
namespace declare {
inline chart::MarkerSpec rectangle(int half) { return {chart::MarkerShape::Rectangle, half, half, std::nullopt}; }
inline chart::MarkerSpec rectangle(int half, QColor fill) { return {chart::MarkerShape::Rectangle, half, half, fill}; }
inline chart::MarkerSpec defaultRectangle() { return {}; }
inline chart::MarkerSpec circle(int half) { return {chart::MarkerShape::Circle, half, half, std::nullopt}; }
inline chart::LinePen pen(QColor color, int width) { return {color, width, Qt::SolidLine}; }
} // namespace declare

// The whole chart settings of a window: the declared values plus what all six
// charts share (series titles, axes and y columns, x column by kind, fonts).
chart::ChartConfig chartConfigOf(ChartWindowKind kind, const ChartDeclaration& declaration);

} // namespace uriage
