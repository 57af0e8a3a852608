#include "windows/Unit6.h"

TForm6* Form6 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm6", QStringLiteral("年別売上（平面図）"), 692, 491};
} // namespace

TForm6::TForm6(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
