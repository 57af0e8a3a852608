#pragma once
// The filter panel of a chart window, built from its declaration: edit boxes,
// their captions and the two buttons at their declared places.
#include "windows/chart_window_declaration.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace uriage {

struct ChartPanel {
    QFrame* panel = nullptr;
    QLineEdit* edit1 = nullptr;
    QLabel* label1 = nullptr;
    QLineEdit* edit2 = nullptr;   // per-day windows only
    QLabel* label2 = nullptr;     // per-day windows only
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
};

// Creates the panel as a child of the window, in tab order Edit1, Edit2, Button1, Button2.
ChartPanel buildChartPanel(QWidget* window, const PanelDeclaration& declaration);

} // namespace uriage
