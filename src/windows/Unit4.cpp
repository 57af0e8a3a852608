#include "windows/Unit4.h"

TForm4* Form4 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm4", QStringLiteral("月別売上（３Ｄ）"), 718, 518};
} // namespace

TForm4::TForm4(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
