#include "windows/Unit7.h"

TForm7* Form7 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm7", QStringLiteral("年別売上（３Ｄ）"), 613, 499};
} // namespace

TForm7::TForm7(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
