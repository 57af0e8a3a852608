#include "windows/Unit1.h"

#include "windows/declared_size.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("売上"));
    resize(uriage::clientSizeFromOuter(477, 194));
}
