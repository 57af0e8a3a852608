// uriage-probe layout --form TFormN [--form TFormM ...]
// Builds each named window at its declared size, laid out but not shown on
// screen, and prints where its controls are in its client area, as one JSON
// object keyed by the window's class name. Programs that click on the real
// windows take their points from here.
#include "tool_command.h"

#include "json/window_layout_json.h"
#include "data/engine.h"
#include "windows/Unit1.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <memory>

namespace uriage::probe {
namespace {

std::unique_ptr<QWidget> createWindow(const QString& form, data::Engine& engine)
{
    if (form == QStringLiteral("TForm1"))
        return std::make_unique<TForm1>();
    return createChartWindow(form, engine);
}

int layoutCommand(const tools::CommandLine& line)
{
    const QStringList forms = line.values(QStringLiteral("form"));
    const QStringList known = QStringList{QStringLiteral("TForm1")} + chartWindowClassNames();
    if (forms.isEmpty())
        return line.usageError(QStringLiteral("--form is required"));
    for (const QString& form : forms)
        if (!known.contains(form))
            return line.usageError(QStringLiteral("--form must be one of %1").arg(known.join(QChar(' '))));
    // The windows are laid out only; nothing opens a table.
    data::Engine engine;
    QJsonObject result;
    for (const QString& form : forms) {
        const std::unique_ptr<QWidget> window = createWindow(form, engine);
        // Laid out as when shown, without appearing on the screen.
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        QApplication::processEvents();
        result.insert(form, windowLayoutJson(*window));
        window->hide();
    }
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

const tools::CommandRegistrar registrar({
    QStringLiteral("layout"),
    QStringLiteral("Lays out windows at their declared sizes without showing them and prints where their "
                   "controls are in their client areas as JSON."),
    {
        {QStringLiteral("form"), QStringLiteral("A window: TForm1 (the main menu) to TForm7; repeatable."),
         QStringLiteral("TFormN")},
    },
    {},
    layoutCommand,
});

} // namespace
} // namespace uriage::probe
