#include "windows/chart_window_catalog.h"

#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/Unit6.h"
#include "windows/Unit7.h"

namespace uriage {

QStringList chartWindowClassNames()
{
    return {QStringLiteral("TForm2"), QStringLiteral("TForm3"), QStringLiteral("TForm4"),
            QStringLiteral("TForm5"), QStringLiteral("TForm6"), QStringLiteral("TForm7")};
}

std::unique_ptr<ChartWindow> createChartWindow(const QString& className, data::Engine& engine, QWidget* parent)
{
    if (className == QLatin1String("TForm2"))
        return std::make_unique<TForm2>(engine, parent);
    if (className == QLatin1String("TForm3"))
        return std::make_unique<TForm3>(engine, parent);
    if (className == QLatin1String("TForm4"))
        return std::make_unique<TForm4>(engine, parent);
    if (className == QLatin1String("TForm5"))
        return std::make_unique<TForm5>(engine, parent);
    if (className == QLatin1String("TForm6"))
        return std::make_unique<TForm6>(engine, parent);
    if (className == QLatin1String("TForm7"))
        return std::make_unique<TForm7>(engine, parent);
    return nullptr;
}

} // namespace uriage
