#include "windows/chart_window.h"

#include "windows/declared_size.h"

namespace uriage {

ChartWindow::ChartWindow(const ChartWindowDeclaration& declaration, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(declaration.className).mid(1)); // "Form2"
    setWindowTitle(declaration.caption);
    resize(clientSizeFromOuter(declaration.outerWidth, declaration.outerHeight));
}

} // namespace uriage
