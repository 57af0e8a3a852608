#include "windows/Unit5.h"

TForm5* Form5 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm5", QStringLiteral("月別売上（３Ｄ）患者数"), 628, 468};
} // namespace

TForm5::TForm5(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
