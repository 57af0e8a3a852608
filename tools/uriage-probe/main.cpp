// uriage-probe COMMAND [options]: runs one registered command.
#include "probe_command.h"
#include "windows/fonts.h"

#include <QApplication>
#include <QTextStream>
#include <map>
#include <string>

namespace uriage::probe {
namespace {
std::map<std::string, CommandFunction>& commands()
{
    static std::map<std::string, CommandFunction> registry;
    return registry;
}
} // namespace

CommandRegistrar::CommandRegistrar(const char* name, CommandFunction function)
{
    commands()[name] = function;
}

} // namespace uriage::probe

int main(int argc, char** argv)
{
    // Headless unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    uriage::installFontSubstitutes();

    QStringList arguments = app.arguments().mid(1);
    const auto& registry = uriage::probe::commands();
    const auto found = arguments.isEmpty() ? registry.end() : registry.find(arguments.first().toStdString());
    if (found == registry.end()) {
        QTextStream err(stderr);
        err << "usage: uriage-probe COMMAND [options]; commands:";
        for (const auto& [name, function] : registry)
            err << ' ' << QString::fromStdString(name);
        err << '\n';
        return 2;
    }
    arguments.removeFirst();
    return found->second(arguments);
}
