#include "windows/Unit3.h"

TForm3* Form3 = nullptr;

namespace {
const uriage::ChartWindowDeclaration kDeclaration{"TForm3", QStringLiteral("年別売上（３Ｄ）"), 629, 502};
} // namespace

TForm3::TForm3(QWidget* parent) : uriage::ChartWindow(kDeclaration, parent) {}
