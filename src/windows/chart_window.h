#pragma once
// Behaviour shared by the six chart windows.
#include <QWidget>

namespace uriage {

struct ChartWindowDeclaration {
    const char* className;   // "TForm2"
    QString caption;
    int outerWidth;
    int outerHeight;
};

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(const ChartWindowDeclaration& declaration, QWidget* parent);
};

} // namespace uriage
