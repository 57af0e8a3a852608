#include "windows/Unit2.h"

TForm2* Form2 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm2", QStringLiteral("月別売上（平面図）"), 737, 480};
} // namespace

TForm2::TForm2(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
