#pragma once
// The six chart window classes by their class names, for tools that create
// one window on its own (the probe) rather than the whole window set.
#include "windows/chart_window.h"

#include <QStringList>
#include <memory>

namespace uriage {

// "TForm2" ... "TForm7".
QStringList chartWindowClassNames();

// A new hidden window of that class, its query on `engine`; null for an
// unknown name.
std::unique_ptr<ChartWindow> createChartWindow(const QString& className, data::Engine& engine,
                                               QWidget* parent = nullptr);

} // namespace uriage
